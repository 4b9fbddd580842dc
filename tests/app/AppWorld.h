#pragma once
// A small world on disk for the program's tests: map 4 at its full size with
// land in bands of tiles and altitudes and a few statics, map 0 holding only
// its first block columns (a short file, still loaded), one radar table that
// gives every tile its own colour, and the configuration that names them by
// full path.

#include <string>

#include "MapContents.h"
#include "TempDir.h"
#include "config/Config.h"

namespace wf::testing {

class AppWorld {
 public:
  AppWorld();

  const TempDir& Dir() const { return dir_; }
  std::string File(const std::string& name) const { return dir_.File(name); }

  // The pairs naming the data files, then "CurrentMap" when given.
  void FillConfig(TConfig& config, const std::string* currentMap) const;
  // configtravel.xml in `directory` with those pairs; returns its path.
  std::string WriteConfig(const std::string& directory, const std::string* currentMap) const;

  static worldgen::TMapContents Map4();

 private:
  TempDir dir_;
};

}  // namespace wf::testing
