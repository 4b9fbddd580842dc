#include <algorithm>

#include "xml/NameLists.h"
#include "xml/XmlText.h"

namespace wf {

using namespace xmltext;

const char* TAttrList::ParseAttributes(const char* From) {
  Clear();
  // Collected in document order and sorted once at the end: the same list that
  // adding each one with AddSorted gives (equal names in reverse order of
  // writing), without the quadratic insertions a tag with many attributes costs.
  std::vector<std::unique_ptr<TAttr>> parsed;
  enum { kName, kEquals, kValue } state = kName;
  std::string name;
  const char* p = From;
  for (;; ++p) {
    char c = *p;
    if (c == '\0' || c == '>') break;
    if (IsSpace(c)) continue;
    if (state == kName) {
      if (!IsNameStart(c)) break;
      const char* end = TokenEnd(p, ccAttrNameStop);
      name.assign(p, end);
      p = end - 1;
      state = kEquals;
    } else if (state == kEquals) {
      if (c == '=') state = kValue;
    } else if (IsQuote(c)) {
      const char* close = Find(p + 1, c);
      const char* valueEnd = close ? close : TextEnd(p + 1);
      parsed.push_back(std::make_unique<TAttr>(name, std::string(p + 1, valueEnd)));
      p = close ? close : valueEnd - 1;  // unquoted to the end: stop on its last character
      state = kName;
    }
  }
  std::reverse(parsed.begin(), parsed.end());
  std::stable_sort(parsed.begin(), parsed.end(), [](const auto& a, const auto& b) {
    return CompareNames(a->Name, b->Name) < 0;
  });
  TakeSorted(std::move(parsed));
  return p;
}

}  // namespace wf
