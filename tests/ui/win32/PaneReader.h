#pragma once
// Reads what a window paints, through WM_PRINTCLIENT into a memory bitmap, so
// tests see the pixels without taking screenshots.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace wf::testing {

// The client area's pixels as 0x00RRGGBB, rows from the top.
inline std::vector<uint32_t> ReadClientPixels(HWND window, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, dib);
  // A colour no pane paints, so pixels left unpainted show up.
  std::memset(bits, 0x5A, static_cast<size_t>(width) * height * 4);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
  for (uint32_t& p : pixels) p &= 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
  return pixels;
}

// A desktop colour (0x00BBGGRR) as ReadClientPixels gives it.
inline uint32_t AsPixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace wf::testing
