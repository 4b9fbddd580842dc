#include <gtest/gtest.h>

#include "places/ImportReport.h"

namespace wf::places {
namespace {

TEST(ImportReport, AnExtensionIsAddedOnlyWhereTheFileNameHasNone) {
  struct Case {
    std::string path, expected;
  } cases[] = {{"C:\\x\\out", "C:\\x\\out.csv"},       {"C:\\x\\out.map", "C:\\x\\out.map"},
               {"C:\\a.b\\out", "C:\\a.b\\out.csv"},   {"/tmp/a.b/out", "/tmp/a.b/out.csv"},
               {"out.", "out."},                       {"C:out", "C:out.csv"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(WithDefaultExtension(c.path, ".csv"), c.expected);
  }
}

}  // namespace
}  // namespace wf::places
