#include "mapdata/GameFolder.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/IntegerText.h"
#include "config/Config.h"
#include "mapdata/MapCells.h"
#include "mapdata/MapTable.h"
#include "platform/Registry.h"

namespace wf {

namespace {

// Where the game's installers of several generations record their folder.
const char* const InstallKeys[] = {
    "Electronic Arts\\EA Games\\Ultima Online Classic",
    "Electronic Arts\\EA Games\\Ultima Online Stygian Abyss Classic",
    "Origin Worlds Online\\Ultima Online\\1.0",
    "Origin Worlds Online\\Ultima Online Third Dawn\\1.0",
    "EA Games\\Ultima Online: Mondain's Legacy\\1.0",
};

const char* const UsualInstallFolder = "C:\\Program Files (x86)\\Electronic Arts\\Ultima Online Classic";

std::string ParentOf(const std::string& path) {
  std::filesystem::path p(path);
  // "C:\Games\UO\" names the folder itself, not a file in it.
  if (!p.has_filename()) p = p.parent_path();
  return p.parent_path().string();
}

// The map's cell file in the folder, the packed form first: a current
// installation updates that one, and a plain file beside it is a leftover.
std::string CellFileIn(const std::string& folder, int32_t mapNumber) {
  std::string packed = PackedMapFileIn(folder, mapNumber);
  return packed.empty() ? FileInFolder(folder, "map" + NumberText(mapNumber) + ".mul") : packed;
}

}  // namespace

bool IsGameFolder(const std::string& folder) {
  return !folder.empty() && !FileInFolder(folder, "radarcol.mul").empty() && !CellFileIn(folder, 0).empty();
}

std::optional<std::string> FindGameFolder(platform::IRegistry& registry, const std::string& programFolder) {
  using platform::TRegistryRoot;
  const std::pair<TRegistryRoot, const char*> roots[] = {
      {TRegistryRoot::LocalMachine, "SOFTWARE\\"},
      {TRegistryRoot::LocalMachine, "SOFTWARE\\WOW6432Node\\"},
      {TRegistryRoot::CurrentUser, "SOFTWARE\\"},
  };
  for (auto [root, prefix] : roots)
    for (const char* key : InstallKeys)
      for (const char* value : {"ExePath", "InstallDir", "Install Dir"}) {
        const std::optional<std::string> text = registry.ReadText(root, prefix + std::string(key), value);
        if (!text || text->empty()) continue;
        const std::string folder = std::string(value) == "ExePath" ? ParentOf(*text) : *text;
        if (IsGameFolder(folder)) return folder;
      }
  for (const std::string& folder : {programFolder, ParentOf(programFolder), std::string(UsualInstallFolder)})
    if (IsGameFolder(folder)) return folder;
  return std::nullopt;
}

bool UseGameFolder(const std::string& folder, TConfig& config) {
  if (!IsGameFolder(folder)) return false;
  std::vector<std::pair<std::string, std::string>> set = {{"radarcol", FileInFolder(folder, "radarcol.mul")}};
  std::vector<std::string> removed;
  for (const TMapSlot& slot : MapSlots) {
    const std::string number = NumberText(slot.Number);
    const std::string cells = CellFileIn(folder, slot.Number);
    const std::string staIdx = FileInFolder(folder, "staidx" + number + ".mul");
    const std::string statics = FileInFolder(folder, "statics" + number + ".mul");
    if (!cells.empty() && !staIdx.empty() && !statics.empty()) {
      set.insert(set.end(), {{slot.CellKey, cells}, {slot.StaIdxKey, staIdx}, {slot.StaticsKey, statics}});
    } else {
      removed.insert(removed.end(), {slot.CellKey, slot.StaIdxKey, slot.StaticsKey});
    }
  }

  // Keys that are set keep their place (their first pair; later ones would
  // never be read and go), new ones come at the end; everything else stays.
  for (const std::string& key : removed) config.RemoveKey(key);
  for (auto& [key, value] : set) config.SetValue(key, std::move(value), true);
  return true;
}

}  // namespace wf
