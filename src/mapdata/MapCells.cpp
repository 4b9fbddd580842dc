#include "mapdata/MapCells.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "common/IntegerText.h"
#include "mapdata/MapFormat.h"
#include "mapdata/PackedHash.h"

namespace wf {

TMapCells::~TMapCells() = default;

namespace {

class TPlainCells final : public TMapCells {
 public:
  explicit TPlainCells(std::unique_ptr<platform::SharedReadFile> file)
      : TMapCells(std::move(file)), blocks_(File().Size() / MapBlockBytes) {}
  uint64_t BlocksHeld() const override { return blocks_; }
  TRun RunFrom(uint64_t block) const override {
    // Far beyond any map, yet small enough that offsets never overflow.
    constexpr uint64_t Unending = uint64_t{1} << 40;
    return {block * MapBlockBytes, Unending};
  }

 private:
  uint64_t blocks_;
};

// Where one map entry's blocks lie.
struct TEntryPlace {
  uint64_t DataOffset = 0;
  uint64_t Blocks = 0;
  bool Present = false;
};

class TPackedCells final : public TMapCells {
 public:
  TPackedCells(std::unique_ptr<platform::SharedReadFile> file, std::vector<TEntryPlace> entries)
      : TMapCells(std::move(file)), entries_(std::move(entries)) {
    for (const TEntryPlace& e : entries_) blocks_ += e.Blocks;
  }
  uint64_t BlocksHeld() const override { return blocks_; }
  TRun RunFrom(uint64_t block) const override {
    const uint64_t index = block / BlocksPerPackedEntry, within = block % BlocksPerPackedEntry;
    if (index >= entries_.size()) return {};
    const TEntryPlace& entry = entries_[index];
    // A spare block after an entry's 4096 is never one of the next entry's.
    const uint64_t blocks = std::min(entry.Blocks, BlocksPerPackedEntry);
    if (within >= blocks) return {};
    return {entry.DataOffset + within * MapBlockBytes, blocks - within};
  }

 private:
  std::vector<TEntryPlace> entries_;
  uint64_t blocks_ = 0;
};

constexpr uint32_t PackedMagic = 0x0050594D;
constexpr size_t PackedHeaderBytes = 0x28;
constexpr size_t TableHeaderBytes = 12;
constexpr size_t TableEntryBytes = 34;
// More map entries than the largest map needs (112, and a spare) are looked
// for, so that a gap is noticed; names beyond are other entries.
constexpr uint32_t MapEntriesLookedFor = 256;

uint64_t ReadU64(const unsigned char* p) { return ReadU32(p) | (uint64_t{ReadU32(p + 4)} << 32); }

struct TTableEntry {
  int64_t Offset;
  int32_t HeaderLength;
  int32_t StoredLength;
  uint64_t NameHash;
  int16_t Compression;
};

TTableEntry DecodeTableEntry(const unsigned char* p) {
  return {static_cast<int64_t>(ReadU64(p)), static_cast<int32_t>(ReadU32(p + 8)),
          static_cast<int32_t>(ReadU32(p + 12)), ReadU64(p + 20), static_cast<int16_t>(ReadU16(p + 32))};
}

// Reads the entry table into the map's entry places; the reason when the
// table cannot be used, empty when it can.
std::string ReadEntryTable(const platform::SharedReadFile& file, int32_t mapNumber,
                           std::vector<TEntryPlace>& places) {
  const uint64_t size = file.Size();
  unsigned char header[PackedHeaderBytes] = {};
  if (file.ReadAt(0, header, sizeof header) != sizeof header || ReadU32(header) != PackedMagic)
    return "not a packed data file";

  std::unordered_map<uint64_t, uint32_t> wanted;
  for (uint32_t i = 0; i < MapEntriesLookedFor; ++i) wanted.emplace(PackedNameHash(PackedMapEntryName(mapNumber, i)), i);
  places.assign(MapEntriesLookedFor, {});

  // Real tables never overlap, so together they are no larger than the file:
  // more than that means blocks read over and over, as a loop would.
  std::unordered_set<uint64_t> visited;
  uint64_t tableBytes = 0;
  std::vector<unsigned char> rows;
  for (uint64_t at = ReadU64(header + 12); at != 0;) {
    if (!visited.insert(at).second) return "its entry table loops";
    unsigned char blockHeader[TableHeaderBytes] = {};
    if (at > size || size - at < TableHeaderBytes || file.ReadAt(at, blockHeader, sizeof blockHeader) != sizeof blockHeader)
      return "its entry table points outside the file";
    const auto count = static_cast<int32_t>(ReadU32(blockHeader));
    const uint64_t next = ReadU64(blockHeader + 4);
    if (count < 0 || (size - at - TableHeaderBytes) / TableEntryBytes < static_cast<uint64_t>(count))
      return "its entry table points outside the file";
    tableBytes += TableHeaderBytes + uint64_t{static_cast<uint32_t>(count)} * TableEntryBytes;
    if (tableBytes > size) return "its entry table loops";
    rows.resize(static_cast<size_t>(count) * TableEntryBytes);
    if (file.ReadAt(at + TableHeaderBytes, rows.data(), rows.size()) != rows.size())
      return "its entry table points outside the file";
    for (size_t r = 0; r < rows.size(); r += TableEntryBytes) {
      const TTableEntry entry = DecodeTableEntry(&rows[r]);
      if (entry.Offset == 0) continue;  // an unused row
      const auto found = wanted.find(entry.NameHash);
      if (found == wanted.end()) continue;
      const std::string name = PackedMapEntryName(mapNumber, found->second);
      if (entry.Compression != 0) return "entry " + name + " is compressed";
      if (entry.Offset < 0 || entry.HeaderLength < 0 || entry.StoredLength < 0 ||
          static_cast<uint64_t>(entry.Offset) + static_cast<uint64_t>(entry.HeaderLength) +
                  static_cast<uint64_t>(entry.StoredLength) > size)
        return "entry " + name + " points outside the file";
      TEntryPlace& place = places[found->second];
      if (place.Present) continue;  // the first row of a name counts
      place = {static_cast<uint64_t>(entry.Offset) + static_cast<uint64_t>(entry.HeaderLength),
               static_cast<uint64_t>(entry.StoredLength) / MapBlockBytes, true};
    }
    at = next;
  }

  size_t used = places.size();
  while (used > 0 && !places[used - 1].Present) --used;
  places.resize(used);
  if (places.empty()) return "entry " + PackedMapEntryName(mapNumber, 0) + " is missing";
  for (uint32_t i = 0; i < used; ++i)
    if (!places[i].Present) return "entry " + PackedMapEntryName(mapNumber, i) + " is missing";
  return {};
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return text;
}

}  // namespace

std::unique_ptr<TMapCells> OpenPlainMapCells(const std::string& path) {
  return std::make_unique<TPlainCells>(platform::SharedReadFile::Open(path));
}

TPackedOpening OpenPackedMapCells(const std::string& path, int32_t mapNumber) {
  std::unique_ptr<platform::SharedReadFile> file = platform::SharedReadFile::Open(path);
  std::vector<TEntryPlace> places;
  std::string failure = ReadEntryTable(*file, mapNumber, places);
  if (!failure.empty()) return {nullptr, path + ": " + failure};
  return {std::make_unique<TPackedCells>(std::move(file), std::move(places)), {}};
}

std::string PackedMapEntryName(int32_t mapNumber, uint32_t index) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08u", index);
  return "build/map" + NumberText(mapNumber) + "legacymul/" + digits + ".dat";
}

std::string PackedMapFileIn(const std::string& folder, int32_t mapNumber) {
  return FileInFolder(folder, "map" + NumberText(mapNumber) + "LegacyMUL.uop");
}

std::string FileInFolder(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  const std::string exact = (fs::path(folder) / name).string();
  if (platform::FileExists(exact)) return exact;
  std::error_code ec;
  const std::string wanted = Lower(name);
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (Lower(candidate) != wanted) continue;
    const std::string path = (fs::path(folder) / candidate).string();
    if (platform::FileExists(path)) return path;
  }
  return {};
}

TCellFile CellFileOf(const std::string& value, int32_t mapNumber) {
  if (value.size() >= 4 && Lower(value.substr(value.size() - 4)) == ".uop") return {value, true};
  if (!value.empty() && !platform::FileExists(value)) {
    const std::string packed =
        PackedMapFileIn(std::filesystem::path(value).parent_path().string(), mapNumber);
    if (!packed.empty()) return {packed, true};
  }
  return {value, false};
}

}  // namespace wf
