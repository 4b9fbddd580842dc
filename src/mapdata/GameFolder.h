#pragma once
// Finding the game's folder and naming its files in the configuration.

#include <optional>
#include <string>

namespace wf {

class TConfig;
namespace platform {
class IRegistry;
}  // namespace platform

// True when the folder holds the radar colours and map 0 in either form.
bool IsGameFolder(const std::string& folder);

// The first folder that is a game folder of, in this order: the folders the
// game's installers record in the registry, the program's own folder and its
// parent, and the usual place of an installation. Nothing when none is.
std::optional<std::string> FindGameFolder(platform::IRegistry& registry, const std::string& programFolder);

// Names the game folder's files in the configuration, full paths: the radar
// colours, and the three keys of every map whose cell file (either form) and
// statics files are there; the keys of the other maps are removed. Nothing
// changes, and false is returned, when the folder is no game folder. The
// changes are the configuration's to save.
bool UseGameFolder(const std::string& folder, TConfig& config);

}  // namespace wf
