#include "PngFile.h"

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"

#include <fstream>

namespace wf {

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<unsigned char>*>(context);
  const auto* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool WritePng(const std::string& path, const TBitmap32& bitmap) {
  if (bitmap.IsEmpty()) return false;
  const int width = bitmap.Width(), height = bitmap.Height();
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  const TColor32* pixel = bitmap.Bits();
  for (size_t i = 0; i < rgba.size(); i += 4, ++pixel) {
    rgba[i] = static_cast<unsigned char>(*pixel >> 16);
    rgba[i + 1] = static_cast<unsigned char>(*pixel >> 8);
    rgba[i + 2] = static_cast<unsigned char>(*pixel);
    rgba[i + 3] = static_cast<unsigned char>(*pixel >> 24);
  }
  std::vector<unsigned char> png;
  if (!stbi_write_png_to_func(Append, &png, width, height, 4, rgba.data(), width * 4)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace wf
