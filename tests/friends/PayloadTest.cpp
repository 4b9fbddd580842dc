#include <gtest/gtest.h>

#include "friends/Payload.h"
#include "mapdata/MapTable.h"

namespace wf::friends {
namespace {

TEST(Payload, WritesTheMessageBotsRead) {
  EXPECT_EQ(WritePayload("Aria", {1600, 800, std::nullopt, 0}), R"({"v":1,"name":"Aria","x":1600,"y":800,"map":0})");
  EXPECT_EQ(WritePayload("A\"\x01", {1, 2, -5, 3}), R"({"v":1,"name":"A\"","x":1,"y":2,"z":-5,"map":3})");
  // What is written reads back.
  const auto heard = ReadPayload(WritePayload("Zoë", {5, 6, 7, 1}));
  ASSERT_TRUE(heard);
  EXPECT_EQ(heard->name, "Zoë");
  EXPECT_EQ(heard->position, (SharedPosition{5, 6, 7, 1}));
}

TEST(Payload, DropsEveryMessageThatIsNotAPositionOnAMap) {
  const TMapSize felucca = LargestMapSizeOf(0);
  const std::string xPastEdge = std::to_string(felucca.BlocksWide * 8);
  const std::string lastX = std::to_string(felucca.BlocksWide * 8 - 1);
  const std::pair<const char*, std::string> cases[] = {
      {"not JSON", "hello"},
      {"an array", "[1,2]"},
      {"truncated", R"({"v":1,"name":"A","x":1)"},
      {"version 2", R"({"v":2,"name":"A","x":1,"y":1,"map":0})"},
      {"version as text", R"({"v":"1","name":"A","x":1,"y":1,"map":0})"},
      {"no name", R"({"v":1,"x":1,"y":1,"map":0})"},
      {"name a number", R"({"v":1,"name":5,"x":1,"y":1,"map":0})"},
      {"no y", R"({"v":1,"name":"A","x":1,"map":0})"},
      {"map 6", R"({"v":1,"name":"A","x":1,"y":1,"map":6})"},
      {"map -1", R"({"v":1,"name":"A","x":1,"y":1,"map":-1})"},
      {"x negative", R"({"v":1,"name":"A","x":-1,"y":1,"map":0})"},
      {"x past the map", R"({"v":1,"name":"A","x":)" + xPastEdge + R"(,"y":1,"map":0})"},
      {"x huge", R"({"v":1,"name":"A","x":18446744073709551615,"y":1,"map":0})"},
      {"x fractional", R"({"v":1,"name":"A","x":1.5,"y":1,"map":0})"},
      {"y past Ilshenar", R"({"v":1,"name":"A","x":1,"y":)" + std::to_string(LargestMapSizeOf(2).BlocksHigh * 8) + R"(,"map":2})"},
      {"z out of range", R"({"v":1,"name":"A","x":1,"y":1,"z":300,"map":0})"},
      {"z null", R"({"v":1,"name":"A","x":1,"y":1,"z":null,"map":0})"},
      {"over 4 KiB", R"({"v":1,"name":"A","x":1,"y":1,"map":0,"pad":")" + std::string(4096, ' ') + "\"}"},
      {"invalid UTF-8", "{\"v\":1,\"name\":\"\xC3\x28\",\"x\":1,\"y\":1,\"map\":0}"},
      {"empty", ""},
  };
  for (const auto& [name, payload] : cases) EXPECT_FALSE(ReadPayload(payload)) << name;
  EXPECT_TRUE(ReadPayload(R"({"v":1,"name":"A","x":)" + lastX + R"(,"y":0,"map":0,"extra":[1]})"));
}

TEST(Payload, NamesAreCleanedAndCut) {
  const std::pair<std::string, std::string> cases[] = {
      {"Aria", "Aria"},
      {"A\tr\x7Fi\xC2\x85" "a", "Aria"},                                // C0, DEL, C1
      {"\xE2\x80\xAE" "evil\xE2\x81\xA6" "x\xE2\x80\x8F", "evilx"},        // override, isolate, mark
      {std::string(40, 'a'), std::string(32, 'a')},
      {"\xC3\xA9" + std::string(40, 'b'), "\xC3\xA9" + std::string(31, 'b')},  // counted in characters
      {std::string(31, 'a') + "\xF0\x9F\x98\x80" "z", std::string(31, 'a') + "\xF0\x9F\x98\x80"},
      {"a\xC3" "b\xED\xA0\x80" "c\xC0\xAF" "d\xF4\x90\x80\x80", "abcd"},   // broken, surrogate, overlong, too high
  };
  for (const auto& [raw, clean] : cases) EXPECT_EQ(CleanName(raw), clean) << raw;
}

}  // namespace
}  // namespace wf::friends
