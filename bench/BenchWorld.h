#pragma once
// The full-size demo world the benchmarks read, written into a temporary
// folder once per run, and the medians they report.

#include <filesystem>
#include <string>
#include <vector>

#include "DemoWorld.h"
#include "config/Config.h"
#include "platform/Desktop.h"

namespace wf::bench {

class TSilentBoxes : public platform::IMessageBoxes {
 public:
  void ShowError(const std::string&, const std::string&) override {}
};

// The given maps of the demo world, with the packed maps' cells also in
// plain files. `Config` names the plain files, `PackedConfig` the packed ones
// where the world has them.
struct TBenchWorld {
  std::filesystem::path Dir;
  TConfig Config, PackedConfig;
  worldgen::TDemoWorld Info;

  TBenchWorld(const std::string& folderName, const std::vector<int32_t>& mapNumbers);
  ~TBenchWorld();
};

double Median(std::vector<double> values);

}  // namespace wf::bench
