// Files the store cannot read completely are left byte for byte as they are;
// files it can are rewritten with every pair they hold.

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <filesystem>
#include <optional>

#include "Raised.h"
#include "TempDir.h"
#include "common/Errors.h"
#include "config/Config.h"
#include "config/TextEncoding.h"

namespace wf {
namespace {

using wf::testing::TempDir;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs PairsOf(const TConfig& c) {
  Pairs pairs;
  for (const auto& p : c.Pairs()) pairs.emplace_back(p->Key, p->Value);
  return pairs;
}

const char kSixSettings[] =
    "<configuration>\r\n"
    "<config key=\"map\" value=\"C:\\UO\\map0.mul\" />\r\n"
    "<config key=\"statics\" value=\"C:\\UO\\statics0.mul\" />\r\n"
    "<config key=\"staidx\" value=\"C:\\UO\\staidx0.mul\" />\r\n"
    "<config key=\"radarcol\" value=\"C:\\UO\\radarcol.mul\" />\r\n"
    "<config key=\"commandchar\" value=\".\" />\r\n"
    "<config key=\"CurrentMap\" value=\"0\" />\r\n"
    "</configuration>\r\n";

std::string Utf16(std::string_view ascii, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    if (bigEndian) out += '\0';
    out += c;
    if (!bigEndian) out += '\0';
  }
  return out;
}

std::string With(std::string text, std::string_view from, std::string_view to) {
  return text.replace(text.find(from), from.size(), to);
}

// A start and close: the window sets "CurrentMap" when it is shown.
TEST(ConfigFiles, AStartLeavesAloneWhatItCannotReadAndRewritesTheRestWithEveryPair) {
  struct Case {
    const char* name;
    std::string file;
    int leftAloneAtLine;        // 0: the file is rewritten; -1: left alone, said without a line
    std::string rewrittenAs;    // when it is
  };
  const std::string sixWritten = With(kSixSettings, "value=\"0\"", "value=\"3\"");
  const Case cases[] = {
      {"byte 0 before the second line", With(kSixSettings, "\r\n<config key=\"map\"", std::string("\0\r\n<config key=\"map\"", 20)), 1, ""},
      {"UTF-16 little-endian with its mark", Utf16(kSixSettings, false), 0, sixWritten},
      {"UTF-16 big-endian with its mark", Utf16(kSixSettings, true), 0, sixWritten},
      {"UTF-16 without a mark", Utf16(kSixSettings, false).substr(2), 1, ""},
      {"a missing closing quote", With(kSixSettings, "map0.mul\"", "map0.mul"), 2, ""},
      {"a pair as start and end tag",
       With(kSixSettings, "<config key=\"commandchar\" value=\".\" />", "<config key=\"commandchar\" value=\".\"></config>"), 6, ""},
      {"a config tag without value", With(kSixSettings, " value=\".\"", ""), 6, ""},
      {"a comment never closed", With(kSixSettings, "<config key=\"radarcol\"", "<!-- <config key=\"radarcol\""), 5, ""},
      {"a character the code page lacks",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<configuration>\r\n"
       "<config key=\"map\" value=\"D:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\UO\\map0.mul\" />\r\n</configuration>\r\n",
       3, ""},
      {"UTF-8 the code page holds",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<configuration>\r\n"
       "<config key=\"map\" value=\"D:\\Sp\xC3\xA4le\\map0.mul\" />\r\n</configuration>\r\n",
       0,
       "<configuration>\r\n<config key=\"map\" value=\"D:\\Sp\xE4le\\map0.mul\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n"},
      {"a reference to a character the code page holds", With(kSixSettings, "map0.mul", "&#x20AC;&#228;map0.mul"), 0,
       With(sixWritten, "map0.mul", "\x80\xE4map0.mul")},
      {"a reference to a character the code page lacks", With(kSixSettings, "map0.mul", "&#1046;map0.mul"), 2, ""},
      {"a reference to a control character of the code page's range", With(kSixSettings, "map0.mul", "&#128;"), 2, ""},
      {"references in a file declared UTF-8",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><config key=\"k\" value=\"&#233;\xC3\xA4&#x20AC;\" />", 0,
       "<configuration>\r\n<config key=\"k\" value=\"\xE9\xE4\x80\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n"},
      {"UTF-8 with its mark and no declaration", "\xEF\xBB\xBF<config key=\"name\" value=\"M\xC3\xBCller\" />", 0,
       "<configuration>\r\n<config key=\"name\" value=\"M\xFCller\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n"},
      {"a UTF-8 mark over bytes that are not UTF-8", "\xEF\xBB\xBF<config key=\"name\" value=\"M\xFCller\" />", -1, ""},
      {"a NUL written as a reference", "<config key=\"x\" value=\"a&#0;b\" />", 0,
       "<configuration>\r\n<config key=\"x\" value=\"a&#0;b\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n"},
      {"comments and other tags", "<!-- mine --><configuration><x/><config key='a' value='1'/></configuration>", 0,
       "<configuration>\r\n<config key=\"a\" value=\"1\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string file = dir.Write("configtravel.xml", c.file);
    TConfig config;
    config.LoadFromFile(file);
    std::optional<std::string> told;
    try {
      config.SetInteger("CurrentMap", 3);
    } catch (const Exception& e) {
      told = e.what();
    }
    if (c.leftAloneAtLine == 0) {
      EXPECT_FALSE(told) << *told;
      EXPECT_EQ(dir.Read("configtravel.xml"), c.rewrittenAs);
      TConfig again;
      again.LoadFromFile(file);
      EXPECT_EQ(PairsOf(again), PairsOf(config));
      continue;
    }
    EXPECT_EQ(dir.Read("configtravel.xml"), c.file);
    if (!told) {
      ADD_FAILURE() << "not told";
      continue;
    }
    EXPECT_NE(told->find(file), std::string::npos) << *told;
    if (c.leftAloneAtLine > 0)
      EXPECT_NE(told->find("line " + std::to_string(c.leftAloneAtLine) + ":"), std::string::npos) << *told;
    // Said once; later changes stay in memory.
    EXPECT_NO_THROW(config.SetInteger("CurrentMap", 4));
    EXPECT_EQ(config.GetInteger("CurrentMap"), 4);
    EXPECT_EQ(dir.Read("configtravel.xml"), c.file);
  }
}

#ifndef _WIN32  // a FIFO is the readable-looking file that cannot be read
TEST(ConfigFiles, AFileThatCannotBeReadIsNeverWritten) {
  TempDir dir;
  const std::string file = dir.File("configtravel.xml");
#ifdef _WIN32
  // Held open by another program that lets nobody else read it.
  dir.Write("configtravel.xml", kSixSettings);
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
#else
  // Not a plain file: it cannot be read whole.
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
#endif
  TConfig config;
  config.LoadFromFile(file);
  try {
    config.SetInteger("CurrentMap", 2);
    ADD_FAILURE() << "not told";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find(file + " is not changed"), std::string::npos) << e.what();
  }
  EXPECT_EQ(config.GetInteger("CurrentMap"), 2);
#ifdef _WIN32
  CloseHandle(held);
  EXPECT_EQ(dir.Read("configtravel.xml"), kSixSettings);
#else
  EXPECT_TRUE(std::filesystem::is_fifo(file));
#endif
}
#endif

TEST(ConfigFiles, ChangesMadeMeanwhileByAnotherProgramAreKept) {
  TempDir dir;
  const std::string file = dir.Write("configtravel.xml", "<config key='map' value='a'/><config key='CurrentMap' value='0'/>");
  TConfig config;
  config.LoadFromFile(file);
  dir.Write("configtravel.xml", "<config key='map' value='b'/><config key='CurrentMap' value='0'/><config key='x' value='1'/>");
  config.SetInteger("CurrentMap", 2);
  EXPECT_EQ(PairsOf(config), (Pairs{{"map", "b"}, {"CurrentMap", "2"}, {"x", "1"}}));
  EXPECT_EQ(dir.Read("configtravel.xml"),
            "<configuration>\r\n<config key=\"map\" value=\"b\" />\r\n<config key=\"CurrentMap\" value=\"2\" />\r\n"
            "<config key=\"x\" value=\"1\" />\r\n</configuration>\r\n");
  // A change written once is not made again over a newer hand edit.
  dir.Write("configtravel.xml", "<config key='CurrentMap' value='4'/>");
  config.SetString("commandformat", "go {x} {y}");
  EXPECT_EQ(PairsOf(config), (Pairs{{"CurrentMap", "4"}, {"commandformat", "go {x} {y}"}}));
}

// While the file cannot be read again (left half-edited, held by an editor,
// emptied or cut short while a program rewrites it in place), the settings
// held stay as they were and wait for a write that can.
TEST(ConfigFiles, AFileThatCannotBeReadAgainIsNotWrittenAndItsSettingsStay) {
  const std::string sixSettings = kSixSettings;
  struct Case {
    std::string name, broken, told;
  } cases[] = {
      {"a comment left open", With(sixSettings, "<config key=\"radarcol\"", "<!-- <config key=\"radarcol\""),
       "line 5:"},
      {"empty", "", "it is empty or ends before its root element does"},
      {"cut between two tags", sixSettings.substr(0, sixSettings.find("<config key=\"radarcol\"")),
       "it is empty or ends before its root element does"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string file = dir.Write("configtravel.xml", kSixSettings);
    TConfig config;
    config.LoadFromFile(file);
    dir.Write("configtravel.xml", c.broken);
    const std::string told = wf::testing::Raised<Exception>([&] { config.SetInteger("CurrentMap", 3); });
    EXPECT_NE(told.find(c.told), std::string::npos) << told;
    EXPECT_NO_THROW(config.SetInteger("showplayer", 0));  // said once
    EXPECT_EQ(dir.Read("configtravel.xml"), c.broken);
    EXPECT_EQ(config.GetValue("commandchar"), ".");
    EXPECT_EQ(config.GetValue("radarcol"), "C:\\UO\\radarcol.mul");
    dir.Write("configtravel.xml", With(kSixSettings, "value=\".\"", "value=\"[\""));
    config.SetInteger("followplayer", 1);
    EXPECT_EQ(dir.Read("configtravel.xml"),
              With(With(kSixSettings, "value=\".\"", "value=\"[\""), "value=\"0\" />\r\n",
                   "value=\"3\" />\r\n<config key=\"showplayer\" value=\"0\" />\r\n"
                   "<config key=\"followplayer\" value=\"1\" />\r\n"));
  }
}

TEST(ConfigFiles, PairsThatCannotBeWrittenSoThatTheyReadBackLeaveTheFileAlone) {
  TempDir dir;
  const std::string file = dir.Write("configtravel.xml", kSixSettings);
  TConfig config;
  config.LoadFromFile(file);
  config.AddPair("note", "a\tb");  // a tab reads back as a space, however it is written
  EXPECT_THROW(config.SetInteger("CurrentMap", 2), Exception);
  EXPECT_NO_THROW(config.SetInteger("CurrentMap", 3));
  EXPECT_EQ(dir.Read("configtravel.xml"), kSixSettings);
}

TEST(TextEncoding, ConvertsOnlyWhatTheCodePageHolds) {
  struct Case {
    const char* name;
    std::string utf8;
    std::optional<std::string> held;
  };
  const Case cases[] = {
      {"ASCII", "C:\\UO", "C:\\UO"},
      {"Latin-1 letter", "\xC3\xA4", "\xE4"},
      {"euro sign from the code page's own range", "\xE2\x82\xAC", "\x80"},
      {"Cyrillic", "\xD0\x98", std::nullopt},
      {"outside the basic plane", "\xF0\x9F\x98\x80", std::nullopt},
      {"a lone continuation byte", "\x80", std::nullopt},
      {"an overlong form", "\xC0\xAF", std::nullopt},
      {"cut short", "\xC3", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCodePage(c.utf8), c.held);
    if (c.held) {
      EXPECT_EQ(CodePageToUtf8(*c.held), c.utf8) << "and back";
    }
  }
  EXPECT_EQ(CodePageToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D") << "unassigned bytes as Windows reads them";
  EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8\x00\xDE", 4), false), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::string("\x00\xD8", 2), false), std::nullopt);  // a high surrogate alone
  EXPECT_EQ(Utf16ToUtf8("abc", false), std::nullopt);                       // an odd byte count
}

}  // namespace
}  // namespace wf
