#pragma once
// What the player is told after places were imported or exported.

#include <string>

namespace wf::places {

struct TImportCounts {
  int Added = 0;
  int AlreadyThere = 0;
  int Unreadable = 0;
  int FirstUnreadableLine = 0;
};

// "12 places added, 3 already there, 2 lines not understood (the first is line 7)."
std::string ImportReportText(const TImportCounts& counts);

// "12 places exported; 2 left out, ...": said only when some were left out.
std::string ExportReportText(int exported, int leftOut);

// `path` with `extension` (".csv") added when its file name has none.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace wf::places
