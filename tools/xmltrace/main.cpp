// xmltrace [--raw] FILE: prints the XML scanner's events for FILE, one per line.

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "XmlTrace.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as everywhere: "\n" line ends
#endif
  return wf::xmltrace::RunXmlTrace(argc, argv, std::cout, std::cerr);
}
