#pragma once
// Character classes and the small walking helpers every reader uses. Every text
// the scanner walks ends in a NUL byte, so loops test only the current byte and
// stop there; nothing here ever looks past that NUL.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace wf::xmltext {

// One bit per character class; a byte's flags say which classes it belongs to.
enum : uint16_t {
  ccSpace = 1 << 0,         // tab, line feed, carriage return, space
  ccNameStart = 1 << 1,     // ":", "A"-"Z", "_", "a"-"z", 192-255 except 215 and 247
  ccTagNameStop = 1 << 2,   // whitespace, "/", ">"
  ccAttrNameStop = 1 << 3,  // whitespace, "/", "=", ">"
  ccTargetStop = 1 << 4,    // whitespace, "?", ">"
  ccDoctypeNameStop = 1 << 5,  // whitespace, ">", "["
  ccAttListStop = 1 << 6,   // whitespace, double quote, "#", apostrophe
  ccEntityNameStop = 1 << 7,   // whitespace, double quote, apostrophe
  ccSpaceOrGt = 1 << 8,     // whitespace, ">"
};

constexpr std::array<uint16_t, 256> MakeClassTable() {
  std::array<uint16_t, 256> t{};
  const uint16_t allStops = ccTagNameStop | ccAttrNameStop | ccTargetStop | ccDoctypeNameStop |
                            ccAttListStop | ccEntityNameStop | ccSpaceOrGt;
  for (int c : {9, 10, 13, 32}) t[c] = ccSpace | allStops;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] |= ccNameStart;
  for (int c = 'a'; c <= 'z'; ++c) t[c] |= ccNameStart;
  for (int c = 192; c <= 255; ++c)
    if (c != 215 && c != 247) t[c] |= ccNameStart;
  t[':'] |= ccNameStart;
  t['_'] |= ccNameStart;
  t['/'] |= ccTagNameStop | ccAttrNameStop;
  t['>'] |= ccTagNameStop | ccAttrNameStop | ccTargetStop | ccDoctypeNameStop | ccSpaceOrGt;
  t['='] |= ccAttrNameStop;
  t['?'] |= ccTargetStop;
  t['['] |= ccDoctypeNameStop;
  t['"'] |= ccAttListStop | ccEntityNameStop;
  t['\''] |= ccAttListStop | ccEntityNameStop;
  t['#'] |= ccAttListStop;
  return t;
}

inline constexpr std::array<uint16_t, 256> kClasses = MakeClassTable();

inline bool Is(char c, uint16_t classes) {
  return (kClasses[static_cast<unsigned char>(c)] & classes) != 0;
}
inline bool IsSpace(char c) { return Is(c, ccSpace); }
inline bool IsNameStart(char c) { return Is(c, ccNameStart); }
inline bool IsQuote(char c) { return c == '"' || c == '\''; }

// The end of the token that starts at p: its first character always belongs to
// it, and it runs up to the first following character of the stop classes, ">"
// or NUL. A token that would start at the NUL is empty.
inline const char* TokenEnd(const char* p, uint16_t stops) {
  if (*p == '\0') return p;
  ++p;
  while (*p != '\0' && *p != '>' && !Is(*p, stops)) ++p;
  return p;
}

// The NUL that ends the text p lies in.
inline const char* TextEnd(const char* p) { return p + std::strlen(p); }

// The first `c` at or after p in its text, or none.
inline const char* Find(const char* p, char c) {
  while (*p != '\0' && *p != c) ++p;
  return *p == c ? p : nullptr;
}

// The first occurrence of `what` at or after p in its text, or none.
inline const char* Find(const char* p, const char* what) { return std::strstr(p, what); }

// Whether the text at p begins with `what` (never reads past p's NUL).
inline bool StartsWith(const char* p, std::string_view what) {
  for (size_t i = 0; i < what.size(); ++i)
    if (p[i] != what[i]) return false;  // also stops at p's NUL, which `what` never holds
  return true;
}

// The character a predefined entity name stands for, or -1.
inline int PredefinedEntity(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "apos") return '\'';
  if (name == "quot") return '"';
  return -1;
}

// Text position comparison that is defined for any two positions.
inline bool Within(const char* p, const char* from, const char* to) {
  auto v = reinterpret_cast<uintptr_t>(p);
  return v >= reinterpret_cast<uintptr_t>(from) && v <= reinterpret_cast<uintptr_t>(to);
}

}  // namespace wf::xmltext
