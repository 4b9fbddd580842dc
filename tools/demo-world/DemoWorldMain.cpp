// wayfarer-demo-world DIR: writes the demo world into DIR (created if need be).

#include <cstdio>
#include <exception>
#include <filesystem>

#include "DemoWorld.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wayfarer-demo-world DIR\n");
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    const wf::worldgen::TDemoWorld world = wf::worldgen::WriteDemoWorld(argv[1]);
    std::printf("%zu places; densest town %s (map %d, %d,%d) with %zu statics in its middle block\n",
                world.Places.size(), world.DensestTown.Name.c_str(), world.DensestTown.MapNumber,
                world.DensestTown.X, world.DensestTown.Y, world.DensestTownStatics);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
