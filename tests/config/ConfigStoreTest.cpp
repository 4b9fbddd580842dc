#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "common/Errors.h"
#include "config/Config.h"

namespace wf {
namespace {

using wf::testing::TempDir;

TEST(ConfigStore, LookupsTakeTheFirstPairAndConvertByTheIntegerRule) {
  TConfig c;
  c.AddPair("map", "first");
  c.AddPair("map", "second");
  c.AddPair("A", " 7");
  c.AddPair("B", "7 ");
  c.AddPair("C", "x1F");
  c.AddPair("D", "$10");
  EXPECT_EQ(c.GetValue("map"), "first");
  EXPECT_EQ(c.GetValue("Map"), "");   // keys are case-sensitive
  EXPECT_EQ(c.GetValue("ma"), "");
  EXPECT_EQ(c.GetInteger("A"), 7);
  EXPECT_EQ(c.GetInteger("B"), 0);
  EXPECT_EQ(c.GetInteger("C"), 31);
  EXPECT_EQ(c.GetInteger("D"), 16);
  EXPECT_EQ(c.GetInteger("missing"), 0);
  EXPECT_EQ(c.FindPair("missing"), nullptr);
  EXPECT_EQ(c.FindPair("map"), c.Pairs()[0].get());
}

TEST(ConfigStore, SetIntegerChangesTheFirstPairOrAppendsAndRewritesTheFileInLayout) {
  TempDir dir;
  TConfig c;
  c.AddPair("CurrentMap", "3");
  c.AddPair("CurrentMap", "4");
  c.AddPair("map", "C:\\UO\\map0.mul");
  c.SaveToFile(dir.File("configtravel.xml"));
  c.SetInteger("CurrentMap", -12);
  c.SetInteger("new", 2);
  EXPECT_EQ(dir.Read("configtravel.xml"),
            "<configuration>\r\n"
            "<config key=\"CurrentMap\" value=\"-12\" />\r\n"
            "<config key=\"CurrentMap\" value=\"4\" />\r\n"
            "<config key=\"map\" value=\"C:\\UO\\map0.mul\" />\r\n"
            "<config key=\"new\" value=\"2\" />\r\n"
            "</configuration>\r\n");
}

TEST(ConfigStore, ValuesThatWouldNotReadBackAreWrittenAsReferences) {
  TConfig c;
  c.AddPair("k\"<", "a&b &#65; \"q\" <t> \xE4");
  EXPECT_EQ(c.FileText(),
            "<configuration>\r\n"
            "<config key=\"k&quot;&lt;\" value=\"a&amp;b &#38;#65; &quot;q&quot; &lt;t> \xE4\" />\r\n"
            "</configuration>\r\n");
}

TEST(ConfigStore, EmptyStoreWritesOnlyTheEnclosingLines) {
  TConfig c;
  EXPECT_EQ(c.FileText(), "<configuration>\r\n</configuration>\r\n");
}

TEST(ConfigStore, FailedSaveRaisesTheIoErrorKeepsTheOldFileAndTheNewValue) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "cfg");
  TConfig c;
  c.AddPair("CurrentMap", "0");
  // A directory stands where the file should go: the save fails and leaves it be.
  try {
    c.SaveToFile((dir.Path() / "cfg").string());
    FAIL() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.ErrorCode(), 0);
    EXPECT_EQ(std::string(e.what()), IoErrorMessage(e.ErrorCode()));
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "cfg"));
  EXPECT_THROW(c.SetInteger("CurrentMap", 2), EInOutError);
  EXPECT_EQ(c.GetInteger("CurrentMap"), 2);
}

}  // namespace
}  // namespace wf
