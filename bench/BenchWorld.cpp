#include "BenchWorld.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "common/IntegerText.h"

namespace wf::bench {

TBenchWorld::TBenchWorld(const std::string& folderName, const std::vector<int32_t>& mapNumbers) {
  using namespace worldgen;
  Dir = std::filesystem::temp_directory_path() / folderName;
  std::filesystem::create_directories(Dir);
  std::fprintf(stderr, "writing the demo world to %s\n", Dir.string().c_str());
  Info = WriteDemoWorld(Dir.string(), mapNumbers, true);
  for (int32_t number : mapNumbers) {
    const std::string suffix = number == 0 ? "" : NumberText(number);
    for (const char* word : {"map", "statics", "staidx"}) {
      const std::string plain = (Dir / DemoFileName(word, number)).string();
      Config.AddPair(word + suffix, plain);
      const bool packed = std::string(word) == "map" && IsPackedDemoMap(number);
      PackedConfig.AddPair(word + suffix, packed ? (Dir / PackedDemoFileName(number)).string() : plain);
    }
  }
  Config.AddPair("radarcol", (Dir / "radarcol.mul").string());
  PackedConfig.AddPair("radarcol", (Dir / "radarcol.mul").string());
  // Pages still being written back make the first pictures' page faults
  // slow, and the cases measured first would pay for all of it.
  sync();
}

TBenchWorld::~TBenchWorld() {
  std::error_code ec;
  std::filesystem::remove_all(Dir, ec);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace wf::bench
