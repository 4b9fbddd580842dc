#pragma once
// Bounds on the work a hostile document can cause (entities that refer to
// themselves, exponential expansion, declared defaults multiplied over many
// tags). docs/xml-limits.md explains the choice.

#include <cstddef>
#include <cstdint>

namespace wf::xmllimits {

// Entities open inside one another (entity texts being read in place, or
// nested expansions in attribute values and declarations). A deeper reference
// expands to nothing.
inline constexpr size_t kMaxEntityDepth = 32;

// Expansion budget of one scan: this much, plus kBudgetPerDocumentByte for every
// byte of the document. Each expanded reference spends the length of its text
// plus a fixed cost; once a reference finds too little left, it and every later
// one expand to nothing.
#ifdef WAYFARER_FUZZ_LIMITS
// The fuzz build spends less on each input so that it tries more of them.
inline constexpr int64_t kBudgetBase = int64_t{64} << 10;
#else
inline constexpr int64_t kBudgetBase = int64_t{4} << 20;
#endif
inline constexpr int64_t kBudgetPerDocumentByte = 8;

// Fixed cost of expanding one internal entity reference.
inline constexpr int64_t kReferenceCost = 64;
// Fixed cost of opening one external text (an entity's file or the external
// subset). Its bytes are charged as they are read: a file the first time it is
// read in a scan (every byte of it, also those past a NUL), after that the text
// a reader goes through (up to the NUL).
inline constexpr int64_t kExternalTextCost = 4096;
// The longest external text (an entity's file or the external subset) that is
// read; a longer one expands to nothing and its file is not read at all.
inline constexpr uint64_t kMaxExternalText = uint64_t{1} << 20;

// Cost of applying one declared attribute to one tag (plus its default's length).
inline constexpr int64_t kDeclaredAttributeCost = 16;

}  // namespace wf::xmllimits
