// Finding the game folder, naming its files, and the window's command that
// does both and shows the maps at once.

#include <gtest/gtest.h>

#include <filesystem>

#include "FormRig.h"
#include "PackedFile.h"
#include "TestWorld.h"
#include "mapdata/GameFolder.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using platform::TRegistryRoot;
using testing::FakeFolderDialog;
using testing::FakeRegistry;
using testing::FormRig;
using wf::testing::EntryOfColor;
using wf::testing::TempDir;

// Writes the named files into a folder of `root`; the map cell files get one
// block column of the map's height with its corner tile set to 100 + the map.
std::string MakeFolder(const TempDir& root, const std::string& name, const std::vector<std::string>& files) {
  const std::filesystem::path folder = root.Path() / name;
  std::filesystem::create_directories(folder);
  for (const std::string& file : files) {
    std::vector<unsigned char> bytes(10, 0);
    const bool packed = file.find(".uop") != std::string::npos || file.find(".UOP") != std::string::npos;
    if (file.rfind("map", 0) == 0 || file.rfind("MAP", 0) == 0) {
      const int number = file[3] - '0';
      worldgen::TMapContents contents(1, MapSizeOf(number).BlocksHigh);
      contents.SetTile(0, 0, static_cast<uint16_t>(100 + number));
      contents.SetTile(1, 1, static_cast<uint16_t>(100 + number));
      bytes = packed ? worldgen::PackedMapFile(number, contents.MapFile()) : contents.MapFile();
    } else if (file == "radarcol.mul") {
      bytes = worldgen::RadarColorFile(wf::testing::IdentityRadarValues());
    }
    worldgen::WriteFileBytes((folder / file).string(), bytes);
  }
  return folder.string();
}

const std::vector<std::string> CurrentInstall = {
    "radarcol.mul",      "map0LegacyMUL.uop", "staidx0.mul", "statics0.mul", "map1LegacyMUL.uop",
    "staidx1.mul",       "statics1.mul",      "map2LegacyMUL.uop", "staidx2.mul", "statics2.mul",
    "map5LegacyMUL.uop", "staidx5.mul",       "statics5.mul"};

TEST(GameFolder, IsFoundInTheRegistryThenBesideTheProgram) {
  TempDir root;
  const std::string game = MakeFolder(root, "game", {"radarcol.mul", "map0LegacyMUL.uop"});
  const std::string old = MakeFolder(root, "old", {"radarcol.mul", "map0.mul"});
  const std::string noMap = MakeFolder(root, "nomap", {"radarcol.mul", "map1LegacyMUL.uop"});
  const std::string noColours = MakeFolder(root, "nocolours", {"map0.mul"});
  const std::string program = MakeFolder(root, "game/program", {});
  const std::string classic = "Electronic Arts\\EA Games\\Ultima Online Classic";
  const std::string legacy = "EA Games\\Ultima Online: Mondain's Legacy\\1.0";
  using Value = std::tuple<TRegistryRoot, std::string, std::string, std::string>;
  struct Case {
    const char* name;
    std::vector<Value> registry;
    std::string programFolder;
    std::optional<std::string> found;
  };
  const auto hklm = TRegistryRoot::LocalMachine, hkcu = TRegistryRoot::CurrentUser;
  const Case cases[] = {
      {"nothing anywhere", {}, noMap, std::nullopt},
      {"install folder", {{hklm, "SOFTWARE\\" + classic, "InstallDir", game}}, noMap, game},
      {"the executable's folder", {{hklm, "SOFTWARE\\" + classic, "ExePath", old + "/client.exe"}}, noMap, old},
      {"the value with a space", {{hkcu, "SOFTWARE\\" + legacy, "Install Dir", old}}, noMap, old},
      {"a folder without map 0 is passed over",
       {{hklm, "SOFTWARE\\" + classic, "ExePath", noMap + "/client.exe"}, {hklm, "SOFTWARE\\" + classic, "InstallDir", game}},
       noMap, game},
      {"a folder without the colours is passed over", {{hklm, "SOFTWARE\\" + classic, "InstallDir", noColours}}, noMap,
       std::nullopt},
      {"the machine's keys before the 32-bit view",
       {{hklm, "SOFTWARE\\WOW6432Node\\" + classic, "InstallDir", old}, {hklm, "SOFTWARE\\" + legacy, "InstallDir", game}},
       noMap, game},
      {"the 32-bit view before the user's keys",
       {{hkcu, "SOFTWARE\\" + classic, "InstallDir", game}, {hklm, "SOFTWARE\\WOW6432Node\\" + legacy, "InstallDir", old}},
       noMap, old},
      {"keys in their order", {{hklm, "SOFTWARE\\" + legacy, "InstallDir", old}, {hklm, "SOFTWARE\\Origin Worlds Online\\Ultima Online\\1.0", "InstallDir", game}},
       noMap, game},
      {"the program's own folder", {}, old, old},
      {"the program's parent folder", {}, program + "/", game},
      {"the registry before the program's folder", {{hkcu, "SOFTWARE\\" + classic, "InstallDir", game}}, old, game},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    for (const auto& [rootKey, key, value, text] : c.registry) registry.values[{rootKey, key, value}] = text;
    EXPECT_EQ(FindGameFolder(registry, c.programFolder), c.found);
  }
}

TEST(GameFolder, NamesTheFilesOfEveryMapThatIsThereAndDropsTheOthers) {
  TempDir root;
  struct Case {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> before;
    // The pairs after, files named by their name in the folder.
    std::vector<std::pair<std::string, std::string>> after;
  };
  const Case cases[] = {
      {"a current installation",
       CurrentInstall,
       {{"commandchar", "["}, {"map", "old/map0.mul"}, {"map3", "old/map3.mul"}, {"CurrentMap", "3"}},
       {{"commandchar", "["}, {"map", "map0LegacyMUL.uop"}, {"CurrentMap", "3"}, {"radarcol", "radarcol.mul"},
        {"staidx", "staidx0.mul"}, {"statics", "statics0.mul"}, {"map1", "map1LegacyMUL.uop"},
        {"staidx1", "staidx1.mul"}, {"statics1", "statics1.mul"}, {"map2", "map2LegacyMUL.uop"},
        {"staidx2", "staidx2.mul"}, {"statics2", "statics2.mul"}, {"map5", "map5LegacyMUL.uop"},
        {"staidx5", "staidx5.mul"}, {"statics5", "statics5.mul"}}},
      {"an older installation, the packed file preferred",
       {"radarcol.mul", "map0.mul", "map0LegacyMUL.uop", "staidx0.mul", "statics0.mul", "map4.mul", "staidx4.mul",
        "statics4.mul", "map3.mul", "staidx3.mul"},
       {{"radarcol", "x"}, {"radarcol", "y"}, {"statics3", "old/statics3.mul"}, {"staidx3", "old"}},
       {{"radarcol", "radarcol.mul"}, {"map", "map0LegacyMUL.uop"}, {"staidx", "staidx0.mul"},
        {"statics", "statics0.mul"}, {"map4", "map4.mul"}, {"staidx4", "staidx4.mul"}, {"statics4", "statics4.mul"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = MakeFolder(root, c.name, c.files);
    TConfig config;
    for (const auto& [key, value] : c.before) config.AddPair(key, value);
    ASSERT_TRUE(UseGameFolder(folder, config));
    std::vector<std::pair<std::string, std::string>> expected, got;
    for (const auto& [key, value] : c.after)
      expected.emplace_back(key, value.find('.') != std::string::npos &&
                                         std::filesystem::exists(std::filesystem::path(folder) / value)
                                     ? (std::filesystem::path(folder) / value).string()
                                     : value);
    for (const auto& pair : config.Pairs()) got.emplace_back(pair->Key, pair->Value);
    EXPECT_EQ(got, expected);
  }
}

TEST(GameFolder, AFolderWithoutTheFilesChangesNothing) {
  TempDir root;
  for (const auto& files : {std::vector<std::string>{}, {"radarcol.mul"}, {"map0LegacyMUL.uop", "staidx0.mul"}}) {
    const std::string folder = MakeFolder(root, "f" + std::to_string(files.size()), files);
    TConfig config;
    config.AddPair("map", "kept");
    EXPECT_FALSE(UseGameFolder(folder, config)) << files.size();
    ASSERT_EQ(config.Pairs().size(), 1u);
    EXPECT_EQ(config.GetValue("map"), "kept");
  }
  TConfig config;
  EXPECT_FALSE(UseGameFolder((root.Path() / "nowhere").string(), config));
}

// The window starts without maps; the command finds the folder, the player
// picks it, and the maps are there at once.
struct GameFolderRig {
  TempDir root;
  FakeRegistry registry;
  FakeFolderDialog dialog;
  FormRig rig;
  GameFolderRig() {
    rig.registry = &registry;
    rig.folders = &dialog;
    rig.programFolder = (root.Path() / "program").string();
  }
};

TEST(GameFolderCommand, IsOfferedInTheSystemMenuOnlyWithItsServices) {
  const auto offered = [](const FormRig& rig) {
    for (const auto& [command, text] : rig.menu.commands)
      if (command == cmGameFolder) return text;
    return std::string();
  };
  GameFolderRig withServices;
  withServices.rig.Start();
  EXPECT_EQ(offered(withServices.rig), "Game folder...");
  FormRig without;
  without.Start();
  EXPECT_EQ(offered(without), "");
  without.form->SystemCommand(cmGameFolder);  // nothing to call, nothing happens
}

TEST(GameFolderCommand, ThePickedFolderBecomesTheMapsWithoutARestart) {
  GameFolderRig g;
  const std::string game = MakeFolder(g.root, "game", CurrentInstall);
  g.registry.values[{TRegistryRoot::LocalMachine, "SOFTWARE\\Electronic Arts\\EA Games\\Ultima Online Classic", "InstallDir"}] = game;
  TMapForm& form = g.rig.Start();
  ASSERT_EQ(g.rig.mapBoxes.boxes.size(), 1u);  // map 0 missing at start, as ever
  EXPECT_FALSE(g.rig.cbChooseMap.visible);

  // Set by hand while the program runs: the folder's keys go into the file as it is now.
  std::string edited = g.rig.ConfigText();
  edited.insert(edited.find("</configuration>"), "<config key=\"commandchar\" value=\"[\" />\r\n");
  g.rig.dir.Write("configtravel.xml", edited);
  g.dialog.answer = game;
  form.SystemCommand(cmGameFolder);
  EXPECT_EQ(g.rig.config->GetValue("commandchar"), "[");
  ASSERT_EQ(g.dialog.shown.size(), 1u);
  EXPECT_EQ(g.dialog.shown[0], std::make_pair(std::string("Game folder"), game));
  EXPECT_TRUE(g.rig.boxes.boxes.empty());
  EXPECT_EQ(EntryOfColor(g.rig.mapImage.bitmap.Pixel(0, 0)), 100);  // map 0's corner
  EXPECT_EQ(EntryOfColor(g.rig.zoomMap.bitmap.Pixel(51, 51)), 100);
  EXPECT_EQ(g.rig.cbChooseMap.items, (std::vector<std::string>{"Map0.mul", "Map1.mul", "Map2.mul", "Map5.mul"}));
  EXPECT_TRUE(g.rig.cbChooseMap.visible);
  const std::string saved = g.rig.ConfigText();
  EXPECT_NE(saved.find("key=\"map\" value=\"" + (std::filesystem::path(game) / "map0LegacyMUL.uop").string()),
            std::string::npos);
  EXPECT_NE(saved.find("key=\"statics5\""), std::string::npos);
  EXPECT_NE(saved.find("key=\"commandchar\" value=\"[\""), std::string::npos);

  // Another folder with map 0 only: the list goes again.
  const std::string old = MakeFolder(g.root, "old", {"radarcol.mul", "map0.mul", "staidx0.mul", "statics0.mul"});
  g.rig.cbChooseMap.itemIndex = 3;
  form.cbChooseMapChange();
  EXPECT_EQ(form.FMapIndex, 5);
  g.dialog.answer = old;
  form.SystemCommand(cmGameFolder);
  EXPECT_EQ(form.FMapIndex, 0);
  EXPECT_FALSE(g.rig.cbChooseMap.visible);
  EXPECT_TRUE(g.rig.cbChooseMap.items.empty());
  EXPECT_EQ(g.rig.ConfigText().find("map5"), std::string::npos);
  EXPECT_NE(g.rig.ConfigText().find("key=\"CurrentMap\" value=\"0\""), std::string::npos);
}

TEST(GameFolderCommand, CancelOrAFolderWithoutTheFilesChangesNothing) {
  GameFolderRig g;
  const std::string empty = MakeFolder(g.root, "empty", {"readme.txt"});
  TMapForm& form = g.rig.Start();
  const std::string before = g.rig.ConfigText();
  form.SystemCommand(cmGameFolder);  // cancelled
  EXPECT_EQ(g.dialog.shown.at(0).second, "");  // nothing found to start in
  EXPECT_TRUE(g.rig.boxes.boxes.empty());
  g.dialog.answer = empty;
  form.SystemCommand(cmGameFolder);
  ASSERT_EQ(g.rig.boxes.boxes.size(), 1u);
  EXPECT_EQ(g.rig.boxes.boxes[0].caption, "Game folder");
  EXPECT_NE(g.rig.boxes.boxes[0].text.find(empty), std::string::npos);
  EXPECT_EQ(g.rig.ConfigText(), before);
  EXPECT_EQ(g.rig.mapBoxes.boxes.size(), 1u);  // the maps were not made again
}

}  // namespace
}  // namespace wf::ui
