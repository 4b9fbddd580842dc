#pragma once
// wayfarer-render: a map's overview or a detail picture as a PNG file.
//
//   wayfarer-render CONFIG MAPNO overview OUT.png
//   wayfarer-render CONFIG MAPNO detail X Y ZOOM OUT.png
//
// CONFIG is a configtravel.xml; the data file paths in it are taken as the
// program takes them (relative ones from the working directory).

#include <ostream>
#include <string>
#include <vector>

namespace wf {

// Exit codes: 0 done; 1 the map is not loaded or a file cannot be read or
// written (the reason on `err`); 2 wrong arguments (usage on `err`).
int RunRender(const std::vector<std::string>& args, std::ostream& err);

}  // namespace wf
