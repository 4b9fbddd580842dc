// Reading configtravel.xml through the scanner, and reading back what the store wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "TempDir.h"
#include "config/Config.h"

namespace wf {
namespace {

using wf::testing::TempDir;

std::vector<std::pair<std::string, std::string>> PairsOf(const TConfig& c) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& p : c.Pairs()) pairs.emplace_back(p->Key, p->Value);
  return pairs;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(ConfigLoad, OnlyEmptyConfigTagsWithKeyAndValueGivePairs) {
  struct Case {
    const char* file;
    Pairs expected;
  };
  const Case cases[] = {
      {"<configuration>\r\n<config key=\"map\" value=\"C:\\UO\\map0.mul\" />\r\n"
       "<config key=\"CurrentMap\" value=\"3\" />\r\n</configuration>\r\n",
       {{"map", "C:\\UO\\map0.mul"}, {"CurrentMap", "3"}}},
      {"<config key='a' value='1'/>", {{"a", "1"}}},  // no enclosing element needed
      {"<x><y><config value='2' extra='e' key='b'/></y></x>", {{"b", "2"}}},
      {"<config key='CurrentMap' value='2'></config>", {}},  // start and end tag: no pair
      {"<config Key='a' value='1'/><config key='a'/><config value='1'/>", {}},
      {"<Config key='a' value='1'/><CONFIG key='a' value='1'/><configx key='a' value='1'/>", {}},
      {"<config key='' value=''/>", {{"", ""}}},
      {"<config key='k' value='\xE4\xF6\xFC'/>", {{"k", "\xE4\xF6\xFC"}}},  // no declaration: bytes as they are
      {"<!-- <config key='c' value='1'/> --><config key='d' value='2'/><![CDATA[<config key='e' value='3'/>]]>",
       {{"d", "2"}}},
      {"<config key='dup' value='1'/><config key='dup' value='2'/>", {{"dup", "1"}, {"dup", "2"}}},
      {"<config key='a' value='1'/><config key='b' value='2", {{"a", "1"}}},  // malformed: what was reported
  };
  for (const Case& c : cases) {
    TempDir dir;
    TConfig config;
    config.LoadFromFile(dir.Write("configtravel.xml", c.file));
    EXPECT_EQ(PairsOf(config), c.expected) << c.file;
  }
}

TEST(ConfigLoad, DuplicateKeysReadAndChangeOnlyTheFirst) {
  TempDir dir;
  std::string file = dir.Write("configtravel.xml",
                               "<configuration><config key='CurrentMap' value='3'/>"
                               "<config key='CurrentMap' value='4'/></configuration>");
  TConfig c;
  c.LoadFromFile(file);
  EXPECT_EQ(c.GetInteger("CurrentMap"), 3);
  c.SetInteger("CurrentMap", 0);
  EXPECT_EQ(dir.Read("configtravel.xml"),
            "<configuration>\r\n<config key=\"CurrentMap\" value=\"0\" />\r\n"
            "<config key=\"CurrentMap\" value=\"4\" />\r\n</configuration>\r\n");
}

TEST(ConfigLoad, MissingFileGivesNoPairsAndTheFirstSaveCreatesIt) {
  TempDir dir;
  std::string file = dir.File("configtravel.xml");
  TConfig c;
  c.LoadFromFile(file);
  EXPECT_TRUE(c.Pairs().empty());
  EXPECT_EQ(c.GetValue("map"), "");
  EXPECT_EQ(c.FileName(), file);
  c.SetInteger("CurrentMap", 2);
  EXPECT_EQ(dir.Read("configtravel.xml"),
            "<configuration>\r\n<config key=\"CurrentMap\" value=\"2\" />\r\n</configuration>\r\n");
}

TEST(ConfigLoad, ASecondLoadAppends) {
  TempDir dir;
  TConfig c;
  c.LoadFromFile(dir.Write("a.xml", "<config key='a' value='1'/>"));
  c.LoadFromFile(dir.Write("b.xml", "<config key='b' value='2'/>"));
  EXPECT_EQ(PairsOf(c), (Pairs{{"a", "1"}, {"b", "2"}}));
  EXPECT_EQ(c.FileName(), dir.File("b.xml"));
}

// Keys and values of characters that must survive being written and read:
// quotes, ampersands, reference-like text, "<", bytes above 127. Tab, carriage
// return and line feed cannot: attribute values turn them into spaces. NUL
// cannot either: it ends the document.
std::string RandomText(std::mt19937& rng) {
  static const char* const kPieces[] = {"\"", "'", "&", "#", ";", "<", ">", "&amp;", "&#38;", "&#x41;", "&lt;",
                                        "&quot;", "&foo;", "&#", "#65;", "x", "A", " ", "  ", "\x01", "\x7F",
                                        "\x80", "\xE4", "\xFF", "\xC3\xA4", "?>", "-->", "]]>", "%p;", "="};
  std::string text;
  for (size_t n = rng() % 12; n > 0; --n) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

TEST(ConfigLoad, WhatSetIntegerWritesReadsBackToTheSamePairs) {
  std::mt19937 rng(4711);
  TempDir dir;
  for (int round = 0; round < 40; ++round) {
    std::string file = dir.File("configtravel" + std::to_string(round) + ".xml");
    TConfig written;
    written.SaveToFile(file);
    for (int i = 0; i < 60; ++i) written.AddPair(RandomText(rng), RandomText(rng));
    written.SetInteger("CurrentMap", static_cast<int32_t>(rng()));
    TConfig read;
    read.LoadFromFile(file);
    ASSERT_EQ(PairsOf(read), PairsOf(written)) << dir.Read("configtravel" + std::to_string(round) + ".xml");
  }
}

}  // namespace
}  // namespace wf
