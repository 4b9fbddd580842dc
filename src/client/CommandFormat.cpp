#include "client/CommandFormat.h"

#include <algorithm>
#include <array>

#include "common/IntegerText.h"

namespace wf {

namespace {

struct TMapNames {
  const char* Facet;
  const char* Realm;
};

constexpr std::array<TMapNames, 6> kMapNames = {{
    {"Felucca", "britannia"},
    {"Trammel", "britannia_alt"},
    {"Ilshenar", "ilshenar"},
    {"Malas", "malas"},
    {"Tokuno", "tokuno"},
    {"TerMur", "termur"},
}};

const TMapNames* NamesOf(int32_t map) {
  return map >= 0 && map < static_cast<int32_t>(kMapNames.size()) ? &kMapNames[static_cast<size_t>(map)]
                                                                   : nullptr;
}

// The value of one placeholder's name, or nothing for a name it does not know.
std::optional<std::string> ValueOf(std::string_view name, const TTravelTarget& target) {
  if (name == "x") return NumberText(target.X);
  if (name == "y") return NumberText(target.Y);
  if (name == "z") return NumberText(target.Z);
  if (name == "map") return NumberText(target.Map);
  if (name == "facet") return FacetName(target.Map);
  if (name == "realm") return RealmName(target.Map);
  return std::nullopt;
}

}  // namespace

std::string FacetName(int32_t map) {
  const TMapNames* names = NamesOf(map);
  return names ? names->Facet : NumberText(map);
}

std::string RealmName(int32_t map) {
  const TMapNames* names = NamesOf(map);
  return names ? names->Realm : NumberText(map);
}

bool HoldsControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
           byte == 0x9D;
  });
}

TFormattedCommand FormatCommand(std::string_view format, const TTravelTarget& target) {
  TFormattedCommand result;
  std::string& text = result.Text;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c != '{' && c != '}') {
      text += c;
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == c) {
      text += c;
      i += 2;
      continue;
    }
    if (c == '}') {
      result.Error = "a single '}'";
      break;
    }
    const size_t close = format.find('}', i + 1);
    if (close == std::string_view::npos) {
      result.Error = "a '{' without its '}'";
      break;
    }
    const std::string_view name = format.substr(i + 1, close - i - 1);
    std::optional<std::string> value = ValueOf(name, target);
    if (!value) {
      result.Error = "the unknown placeholder {" + std::string(name) + "}";
      break;
    }
    text += *value;
    i = close + 1;
  }
  if (!result.Error.empty()) text.clear();
  return result;
}

}  // namespace wf
