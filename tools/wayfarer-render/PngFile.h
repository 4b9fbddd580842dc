#pragma once
// Map pictures as PNG files.

#include <string>

#include "raster/Bitmap32.h"

namespace wf {

// Writes the bitmap as an 8-bit RGBA PNG, every pixel's colour and alpha as
// they are. Returns false when the file cannot be written.
bool WritePng(const std::string& path, const TBitmap32& bitmap);

}  // namespace wf
