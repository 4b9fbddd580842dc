#include "RenderTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"

#include "TestWorld.h"
#include "mapdata/Map.h"

namespace wf {
namespace {

using testing::FakeMessageBoxes;
using testing::TTestWorld;
using worldgen::TMapContents;

// A world of map 4 with a town-like corner: numbered land and a few statics.
void AddWorld(TTestWorld& world) {
  TMapContents contents(4, 181);
  for (int x = 0; x < contents.CellsWide(); ++x)
    for (int y = 0; y < contents.CellsHigh(); ++y)
      contents.SetCell(x, y, {static_cast<uint16_t>((x * 37 + y * 11) % 31130), static_cast<int8_t>(y % 9)});
  contents.AddStatic(20, 20, 500, 60);
  contents.AddStatic(21, 20, 14746, 60);  // beyond the colour table
  world.AddMap(4, contents);
}

struct TResult {
  int code;
  std::string err;
};

TResult Render(const std::vector<std::string>& args) {
  std::ostringstream err;
  int code = RunRender(args, err);
  return {code, err.str()};
}

// Every pixel of the PNG, as colour with alpha, must be the bitmap's.
void ExpectSamePixels(const std::string& png, const TBitmap32& bitmap) {
  int width = 0, height = 0, channels = 0;
  unsigned char* rgba = stbi_load(png.c_str(), &width, &height, &channels, 4);
  ASSERT_NE(rgba, nullptr) << png;
  EXPECT_EQ(channels, 4);
  ASSERT_EQ(width, bitmap.Width());
  ASSERT_EQ(height, bitmap.Height());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
      const TColor32 color = MakeColor32(p[0], p[1], p[2], p[3]);
      ASSERT_EQ(color, bitmap.Pixel(x, y)) << x << "," << y;
    }
  stbi_image_free(rgba);
}

TEST(RenderTool, WritesTheOverviewAndDetailPicturesPixelForPixel) {
  TTestWorld world;
  AddWorld(world);
  const std::string config = world.File("configtravel.xml");
  world.Config().SaveToFile(config);
  FakeMessageBoxes boxes;
  TMap map(4, world.Config(), boxes);

  const std::string overview = world.File("overview.png");
  EXPECT_EQ(Render({config, "4", "overview", overview}).code, 0);
  ExpectSamePixels(overview, *map.GetOverview());

  // The detail picture keeps its clear, see-through pixels (0x00FFFFFF).
  const std::string detail = world.File("detail.png");
  EXPECT_EQ(Render({config, "4", "detail", "20", "20", "1", detail}).code, 0);
  auto expected = map.RenderDetail(20, 20, 1);
  ASSERT_EQ(expected->Pixel(0, 0), 0x00FFFFFFu);
  ASSERT_EQ(expected->Pixel(51, 50), UnknownTileColor);
  ExpectSamePixels(detail, *expected);

  EXPECT_EQ(Render({config, "4", "detail", "1400", "30", "3", detail}).code, 0);
  ExpectSamePixels(detail, *map.RenderDetail(1400, 30, 3));
}

// Every pixel of two PNG files, compared.
std::vector<unsigned char> PngPixels(const std::string& png) {
  int width = 0, height = 0, channels = 0;
  unsigned char* rgba = stbi_load(png.c_str(), &width, &height, &channels, 4);
  if (!rgba) return {};
  std::vector<unsigned char> pixels(rgba, rgba + static_cast<size_t>(width) * height * 4);
  stbi_image_free(rgba);
  return pixels;
}

TEST(RenderTool, PackedAndPlainFormsOfAMapGiveTheSamePictures) {
  // Maps 1 and 5 with numbered land and statics, each written plain into one
  // world and packed (shuffled, with a spare block) into another.
  for (int32_t number : {1, 5}) {
    SCOPED_TRACE(number);
    TMapContents contents(40, 512);
    for (int x = 0; x < contents.CellsWide(); ++x)
      for (int y = 0; y < contents.CellsHigh(); y += 1)
        contents.SetCell(x, y, {static_cast<uint16_t>((x * 53 + y * 19) % 31130), static_cast<int8_t>(x % 7)});
    for (int y = 3; y < contents.CellsHigh(); y += 5) contents.AddStatic(100 + y % 200, y, static_cast<uint16_t>(y), 50);
    TTestWorld plain, packed;
    plain.AddMap(number, contents);
    packed.AddPackedMap(number, contents, {.Shuffled = true, .EntryHeaderBytes = 4, .SpareBlock = true});
    plain.Config().SaveToFile(plain.File("configtravel.xml"));
    packed.Config().SaveToFile(packed.File("configtravel.xml"));
    const std::vector<std::string> views[] = {
        {"overview"}, {"detail", "150", "2000", "1"}, {"detail", "160", "4090", "3"}, {"detail", "300", "2048", "16"}};
    for (const auto& view : views) {
      SCOPED_TRACE(view.front() + (view.size() > 1 ? " " + view[1] + "," + view[2] : ""));
      std::vector<std::string> args = {"", std::to_string(number)};
      args.insert(args.end(), view.begin(), view.end());
      args.push_back("");
      args.front() = plain.File("configtravel.xml");
      args.back() = plain.File("out.png");
      ASSERT_EQ(Render(args).code, 0);
      args.front() = packed.File("configtravel.xml");
      args.back() = packed.File("out.png");
      ASSERT_EQ(Render(args).code, 0);
      const std::vector<unsigned char> expected = PngPixels(plain.File("out.png"));
      ASSERT_FALSE(expected.empty());
      EXPECT_TRUE(PngPixels(packed.File("out.png")) == expected);
    }
  }
}

TEST(RenderTool, APackedFileThatCannotBeUsedGivesItsReason) {
  TTestWorld world;
  world.AddPackedMap(5, TMapContents(4, 512), {.LeftOutEntry = 0});
  const std::string config = world.File("configtravel.xml");
  world.Config().SaveToFile(config);
  TResult result = Render({config, "5", "overview", world.File("out.png")});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, world.PathOf("map5") + ": entry build/map5legacymul/00000000.dat is missing\n");
}

TEST(RenderTool, AMapThatIsNotLoadedGivesItsReasonAndExitCodeOne) {
  TTestWorld world;
  AddWorld(world);
  const std::string config = world.File("configtravel.xml");
  world.Config().SaveToFile(config);
  const std::string out = world.File("out.png");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{config, "2", "overview", out}, "Map2.mul or Radarcol.mul couldn't be found, please check your config.xml\n"},
      {{config, "0", "detail", "5", "5", "1", out},
       "Map0.mul or Radarcol.mul couldn't be found, please check your config.xml\n"},
      {{world.File("missing.xml"), "4", "overview", out}, "Cannot open file " + world.File("missing.xml") + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    TResult result = Render(c.args);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, c.err);
  }
  std::filesystem::remove(world.PathOf("staidx4"));
  TResult result = Render({config, "4", "overview", out});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "Statics4.mul or Staidx4.mul couldn't be found, please check your config.xml\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(RenderTool, WrongArgumentsShowTheUsage) {
  TTestWorld world;
  AddWorld(world);
  const std::string config = world.File("configtravel.xml");
  world.Config().SaveToFile(config);
  const std::string out = world.File("out.png");
  const std::vector<std::string> cases[] = {
      {},
      {config, "4", "overview"},
      {config, "four", "overview", out},
      {config, "4", "picture", out},
      {config, "4", "detail", "1", "1", out},
      {config, "4", "detail", "-1", "1", "1", out},
      {config, "4", "detail", "1", "65536", "1", out},
      {config, "4", "detail", "1", "1", "0", out},
      {config, "4", "detail", "1", "1", "2x", out},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &args - cases);
    TResult result = Render(args);
    EXPECT_EQ(result.code, 2) << args.size();
    EXPECT_EQ(result.err.rfind("usage: wayfarer-render", 0), 0u);
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(Render({config, "4", "overview", world.File("no/such/dir/out.png")}).code, 1);
}

}  // namespace
}  // namespace wf
