#include "mapdata/FileView.h"

#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"

namespace wf {
namespace {

TEST(FileView, MappedAndReadViewsGiveTheSameBytesAndZerosPastTheEnd) {
  testing::TempDir dir;
  const std::string path = dir.Write("data.mul", "0123456789");
  auto file = platform::SharedReadFile::Open(path);
  for (bool mapped : {true, false}) {
    SCOPED_TRACE(mapped);
    TFileView view(*file, mapped);
    EXPECT_EQ(view.Size(), 10u);
    TFileView::TSpan span = view.Window(3, 4);
    ASSERT_EQ(span.Size, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(span.Data), 4), "3456");
    span = view.Window(8, 100);
    ASSERT_EQ(span.Size, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(span.Data), 2), "89");
    EXPECT_EQ(view.Window(10, 5).Size, 0u);
    EXPECT_EQ(view.Window(UINT64_MAX - 2, 5).Size, 0u);

    char out[6];
    std::fill(std::begin(out), std::end(out), 'x');
    view.Read(7, out, 6);
    EXPECT_EQ(std::string(out, 6), std::string("789\0\0\0", 6));
    std::fill(std::begin(out), std::end(out), 'x');
    view.Read(1ull << 40, out, 6);
    EXPECT_EQ(std::string(out, 6), std::string(6, '\0'));
  }
}

TEST(FileView, AnEmptyFileReadsAsZeros) {
  testing::TempDir dir;
  auto file = platform::SharedReadFile::Open(dir.Write("empty.mul", ""));
  TFileView view(*file);
  EXPECT_EQ(view.Size(), 0u);
  unsigned char out[3] = {1, 2, 3};
  view.Read(0, out, 3);
  EXPECT_EQ(out[0] | out[1] | out[2], 0);
}

}  // namespace
}  // namespace wf
