// Loading a configuration whose value refers many times to a 100 MB external
// file that starts with a NUL (a sparse file, so writing it costs nothing).
// Such a file is longer than an external text may be, so it is never read:
// the load costs what the few hundred bytes of configuration cost.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "config/Config.h"

namespace {

namespace fs = std::filesystem;

class TScratchDir {
 public:
  TScratchDir() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("wayfarer-bench-" + std::to_string(rd()));
    fs::create_directories(path_);
  }
  ~TScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string Write(const std::string& name, const std::string& contents) const {
    std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << contents;
    return file;
  }

 private:
  fs::path path_;
};

void LoadConfigReferringToAHugeFile(benchmark::State& state) {
  TScratchDir dir;
  fs::resize_file(dir.Write("huge.bin", std::string(1, '\0')), uintmax_t{100} << 20);
  std::string refs;
  for (int64_t i = 0; i < state.range(0); ++i) refs += "&e;";
  std::string config = dir.Write(
      "configtravel.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE configuration [<!ENTITY e SYSTEM 'huge.bin'>]>\n"
                          "<configuration>\n<config key=\"map0\" value=\"" + refs + "\"/>\n</configuration>\n");
  for (auto _ : state) {
    wf::TConfig store;
    store.LoadFromFile(config);
    benchmark::DoNotOptimize(store.GetValue("map0"));
  }
}
BENCHMARK(LoadConfigReferringToAHugeFile)->Arg(64)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
