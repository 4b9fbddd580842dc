#include <gtest/gtest.h>

#include "client/CommandFormat.h"

namespace wf {
namespace {

TEST(CommandFormat, FillsThePlaceholdersOfEveryPreset) {
  struct Case {
    const char* name;
    std::string_view format;
    TTravelTarget target;
    const char* text;
  };
  const Case cases[] = {
      {"default is the classic command", kDefaultCommandFormat, {10, 20, 0, 0}, "GoSelf 10 20 0 0"},
      {"default, negative values", kDefaultCommandFormat, {-90, 108, -3, 2}, "GoSelf -90 108 -3 2"},
      {"RunUO family", "go {x} {y} {z}", {1030, 970, 12, 3}, "go 1030 970 12"},
      {"POL", "goxyz {x} {y} {z} {realm}", {1030, 970, 12, 3}, "goxyz 1030 970 12 malas"},
      {"Sphere", "go {x},{y},{z},{map}", {1030, 970, -12, 1}, "go 1030,970,-12,1"},
      {"UOX3", "go {x} {y} {z} {map}", {5, 6, 7, 4}, "go 5 6 7 4"},
      {"facet", "go {facet}", {0, 0, 0, 5}, "go TerMur"},
      {"braces", "{{x}} {{{x}}} }}", {7, 0, 0, 0}, "{x} {7} }"},
      {"placeholder twice", "{y}{y}", {0, 42, 0, 0}, "4242"},
      {"no placeholder", "where", {1, 2, 3, 0}, "where"},
      {"bytes above 127 kept", "g\xE4 {x}", {1, 0, 0, 0}, "g\xE4 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TFormattedCommand formatted = FormatCommand(c.format, c.target);
    EXPECT_EQ(formatted.Text, c.text);
    EXPECT_EQ(formatted.Error, "");
  }
}

TEST(CommandFormat, NamesEveryMapTheShardsName) {
  const char* facets[] = {"Felucca", "Trammel", "Ilshenar", "Malas", "Tokuno", "TerMur"};
  const char* realms[] = {"britannia", "britannia_alt", "ilshenar", "malas", "tokuno", "termur"};
  for (int32_t map = 0; map < 6; ++map) {
    SCOPED_TRACE(map);
    EXPECT_EQ(FacetName(map), facets[map]);
    EXPECT_EQ(RealmName(map), realms[map]);
  }
  // Maps without a name are named by their number rather than by a wrong name.
  for (int32_t map : {6, -1, 65535}) {
    SCOPED_TRACE(map);
    EXPECT_EQ(FacetName(map), std::to_string(map));
    EXPECT_EQ(RealmName(map), std::to_string(map));
  }
}

TEST(CommandFormat, AnyOtherBraceMakesTheTemplateUnusable) {
  struct Case {
    const char* format;
    const char* error;
  };
  const Case cases[] = {
      {"go {X} {y}", "the unknown placeholder {X}"},
      {"go {x} {y} {z} {map} {name}", "the unknown placeholder {name}"},
      {"go {}", "the unknown placeholder {}"},
      {"go { x}", "the unknown placeholder { x}"},
      {"go {x", "a '{' without its '}'"},
      {"go x}", "a single '}'"},
      {"go {x}}", "a single '}'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const TFormattedCommand formatted = FormatCommand(c.format, {1, 2, 3, 0});
    EXPECT_EQ(formatted.Error, c.error);
    EXPECT_EQ(formatted.Text, "") << "no half-formatted command";
  }
}

}  // namespace
}  // namespace wf
