#include <iostream>
#include <string>
#include <vector>

#include "RenderTool.h"

int main(int argc, char** argv) {
  return wf::RunRender(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
