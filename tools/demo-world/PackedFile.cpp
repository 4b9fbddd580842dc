#include "PackedFile.h"

#include <algorithm>

#include "mapdata/MapCells.h"
#include "mapdata/MapFormat.h"
#include "mapdata/PackedHash.h"

namespace wf::worldgen {

namespace {

constexpr size_t RowBytes = 34;
constexpr size_t TableHeaderBytes = 12;

void WriteU64(unsigned char* p, uint64_t v) {
  WriteU32(p, static_cast<uint32_t>(v));
  WriteU32(p + 4, static_cast<uint32_t>(v >> 32));
}

struct TEntry {
  std::string Name;
  std::vector<unsigned char> Data;
  bool Compressed = false;
};

}  // namespace

std::vector<unsigned char> PackedMapFile(int32_t mapNumber, const std::vector<unsigned char>& cells,
                                         const TPackedLayout& layout) {
  const size_t entryBytes = BlocksPerPackedEntry * MapBlockBytes;
  std::vector<TEntry> entries;
  for (size_t at = 0, i = 0; at < cells.size(); at += entryBytes, ++i) {
    const auto from = cells.begin() + static_cast<std::ptrdiff_t>(at);
    const auto to = cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), at + entryBytes));
    if (static_cast<int32_t>(i) == layout.LeftOutEntry) continue;
    entries.push_back({PackedMapEntryName(mapNumber, static_cast<uint32_t>(i)), {from, to},
                       static_cast<int32_t>(i) == layout.CompressedEntry});
  }
  if (layout.SpareBlock && !entries.empty()) entries.back().Data.resize(entries.back().Data.size() + MapBlockBytes, 0);
  if (layout.Shuffled) {
    // Odd-numbered entries first, each half backwards.
    std::vector<TEntry> shuffled;
    for (int parity : {1, 0})
      for (size_t i = entries.size(); i-- > 0;)
        if (static_cast<int>(i % 2) == parity) shuffled.push_back(std::move(entries[i]));
    entries = std::move(shuffled);
  }
  for (size_t i = 0; i < layout.OtherEntries.size(); ++i) {
    const auto place = entries.begin() + static_cast<std::ptrdiff_t>(std::min(entries.size(), 2 * i + 1));
    entries.insert(place, {layout.OtherEntries[i], std::vector<unsigned char>(50, 0xEE), false});
  }

  const size_t rowsPerTable = std::max<uint32_t>(1, layout.RowsPerTable);
  const size_t tables = std::max<size_t>(1, (entries.size() + rowsPerTable - 1) / rowsPerTable);
  const uint64_t tableBytes = TableHeaderBytes + rowsPerTable * RowBytes;
  uint64_t dataAt = PackedHeaderSize + tables * tableBytes;
  uint64_t total = dataAt;
  for (const TEntry& e : entries) total += static_cast<uint64_t>(layout.EntryHeaderBytes) + e.Data.size();

  std::vector<unsigned char> file(total, 0);
  WriteU32(&file[0], 0x0050594D);
  WriteU32(&file[4], 5);
  WriteU32(&file[8], 0xFD23EC43);
  WriteU64(&file[12], FirstTableOffset);
  WriteU32(&file[20], static_cast<uint32_t>(rowsPerTable));
  WriteU32(&file[24], static_cast<uint32_t>(entries.size()));
  for (size_t t = 0; t < tables; ++t) {
    unsigned char* table = &file[PackedHeaderSize + t * tableBytes];
    WriteU32(table, static_cast<uint32_t>(rowsPerTable));
    WriteU64(table + 4, t + 1 < tables ? PackedHeaderSize + (t + 1) * tableBytes : 0);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const TEntry& e = entries[i];
    unsigned char* row = &file[PackedHeaderSize + (i / rowsPerTable) * tableBytes + TableHeaderBytes +
                               (i % rowsPerTable) * RowBytes];
    const auto length = static_cast<uint32_t>(e.Data.size());
    WriteU64(row, dataAt);
    WriteU32(row + 8, static_cast<uint32_t>(layout.EntryHeaderBytes));
    WriteU32(row + 12, length);
    WriteU32(row + 16, length);
    WriteU64(row + 20, PackedNameHash(e.Name));
    WriteU32(row + 28, 0);
    WriteU16(row + 32, e.Compressed ? 1 : 0);
    // The entry's own header is filled with bytes that are no cell data.
    std::fill_n(&file[dataAt], layout.EntryHeaderBytes, 0xCD);
    std::copy(e.Data.begin(), e.Data.end(), &file[dataAt + static_cast<uint64_t>(layout.EntryHeaderBytes)]);
    dataAt += static_cast<uint64_t>(layout.EntryHeaderBytes) + e.Data.size();
  }
  return file;
}

}  // namespace wf::worldgen
