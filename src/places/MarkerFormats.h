#pragma once
// The places files of other tools, read and written: marker files (".map":
// a format number, then "+ICON: X Y FACET NAME" lines in the code page) and
// marker CSV ("x,y,map,name,icon,color[,zoom]" lines in UTF-8).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wf::places {

// Map numbers a place from outside may name.
inline constexpr int kHighestMap = 5;

// One place as a file from outside gives it. Names are code page text, as read.
struct TPlace {
  std::string Name;
  int32_t X = 0;
  int32_t Y = 0;
  std::optional<int32_t> Z;  // only where the format holds one
  uint16_t MapNo = 0;
};

// The places of a file and the lines that could not be read.
struct TReadResult {
  std::vector<TPlace> Places;
  int Unreadable = 0;
  int FirstUnreadableLine = 0;  // counting from 1; 0 when all were read

  void Refuse(int lineNumber);
};

enum class TPlacesFormat { PlacesFile, MarkerFile, MarkerCsv };

// Coordinates a place from outside may have: within what a map can be.
bool IsPlausibleCell(int64_t x, int64_t y);

// A line without a name, or with coordinates or a map no place can have, is
// not read but counted.
TReadResult ReadMarkerFile(std::string_view text);
TReadResult ReadMarkerCsv(std::string_view text);

// The file's format by how many lines each reading understands; where they
// understand equally many, the one the file name's extension suggests, and
// then the program's own places file.
struct TFormatCandidate {
  TPlacesFormat Format;
  const TReadResult* Read;
};
TPlacesFormat ChooseFormat(const std::vector<TFormatCandidate>& candidates,
                           std::string_view fileName);

// The format a file name's extension names, if any (".txt", ".map", ".csv",
// of any case).
std::optional<TPlacesFormat> FormatOfExtension(std::string_view fileName);

// Whole files, every line ending in CR LF. A place's name is code page text;
// the CSV holds it in UTF-8, with each comma written as a space, since that
// format has no way to quote one.
std::string MarkerFileText(const std::vector<TPlace>& places);
std::string MarkerCsvText(const std::vector<TPlace>& places);

}  // namespace wf::places
