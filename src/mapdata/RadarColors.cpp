#include "mapdata/RadarColors.h"

#include <vector>

#include "mapdata/MapFormat.h"
#include "platform/Files.h"

namespace wf {

TColor32 RadarColorToColor32(uint16_t value) {
  return MakeColor32(((value >> 10) & 31) * 8, ((value >> 5) & 31) * 8, (value & 31) * 8, 255);
}

void ReadRadarColors(const platform::SharedReadFile& file, TRadarTable& colors) {
  std::vector<unsigned char> bytes(2 * colors.size());
  const size_t got = file.ReadAt(0, bytes.data(), bytes.size());
  uint16_t value = 0;
  for (size_t i = 0; i < RadarColorCount; ++i) {
    size_t at = 2 * i;
    if (at + 1 < got)
      value = ReadU16(&bytes[at]);
    else if (at < got)
      value = static_cast<uint16_t>((value & 0xFF00) | bytes[at]);
    colors[i] = RadarColorToColor32(value);
  }
  for (size_t i = RadarColorCount; i < colors.size(); ++i)
    colors[i] = 2 * i + 1 < got ? RadarColorToColor32(ReadU16(&bytes[2 * i])) : UnknownTileColor;
}

}  // namespace wf
