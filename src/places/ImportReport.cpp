#include "places/ImportReport.h"

#include "common/IntegerText.h"

namespace wf::places {

namespace {

std::string Counted(int n, const char* one, const char* many) {
  return NumberText(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string ImportReportText(const TImportCounts& counts) {
  std::string text = Counted(counts.Added, "place added", "places added") + ", " +
                     NumberText(counts.AlreadyThere) + " already there, " +
                     Counted(counts.Unreadable, "line not understood", "lines not understood");
  if (counts.Unreadable > 0)
    text += " (the first is line " + NumberText(counts.FirstUnreadableLine) + ")";
  return text + ".";
}

std::string ExportReportText(int exported, int leftOut) {
  return Counted(exported, "place exported", "places exported") + "; " + NumberText(leftOut) +
         " left out, since their X and Y are not numbers a map can have.";
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  const size_t nameStart = path.find_last_of("\\/:");
  const size_t dot = path.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
  return hasExtension ? path : path + extension;
}

}  // namespace wf::places
