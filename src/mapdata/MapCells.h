#pragma once
// Where a map's cell blocks lie in its file. The plain file holds them one
// after the other from the start; the packed file holds them in entries of
// 4096 blocks, found through its entry table, which is resolved once when the
// file is opened. The map reads its blocks through this and does not care
// which form it has.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace wf {

// Blocks of one packed map entry.
constexpr uint64_t BlocksPerPackedEntry = 4096;

class TMapCells {
 public:
  virtual ~TMapCells();
  TMapCells(const TMapCells&) = delete;
  TMapCells& operator=(const TMapCells&) = delete;

  const platform::SharedReadFile& File() const { return *file_; }

  // How many blocks the data holds; a map with two sizes takes the larger
  // one when this reaches it.
  virtual uint64_t BlocksHeld() const = 0;

  // The blocks from `block` on that lie together in the file: the first one's
  // offset and how many there are. None (Blocks 0) where the data does not
  // hold the block; its cells then read as 0. The plain form's run never
  // ends: bytes past its end read as 0, as reads at the end of a file do.
  struct TRun {
    uint64_t Offset = 0;
    uint64_t Blocks = 0;
  };
  virtual TRun RunFrom(uint64_t block) const = 0;

 protected:
  explicit TMapCells(std::unique_ptr<platform::SharedReadFile> file) : file_(std::move(file)) {}

 private:
  std::unique_ptr<platform::SharedReadFile> file_;
};

// The plain file; raises EFOpenError when it cannot be opened.
std::unique_ptr<TMapCells> OpenPlainMapCells(const std::string& path);

// The packed file of map `mapNumber`; raises EFOpenError when it cannot be
// opened. A table that cannot be used (not a packed file, a table reaching
// outside the file or looping, a map entry compressed, reaching outside the
// file or missing) gives no cells and the reason.
struct TPackedOpening {
  std::unique_ptr<TMapCells> Cells;
  std::string Failure;
};
TPackedOpening OpenPackedMapCells(const std::string& path, int32_t mapNumber);

// The name of map entry `index` in the packed file of map `mapNumber`.
std::string PackedMapEntryName(int32_t mapNumber, uint32_t index);

// The cell file a map's configuration value names: packed when the value
// ends in ".uop" (any case), or when the plain file it names is missing and
// the packed one of the map ("map{N}LegacyMUL.uop", any case) lies in the
// same folder; the value itself otherwise.
struct TCellFile {
  std::string Path;
  bool Packed = false;
};
TCellFile CellFileOf(const std::string& value, int32_t mapNumber);

// The path of the file `name` in `folder`, its name in any case; empty when
// there is none.
std::string FileInFolder(const std::string& folder, const std::string& name);

// The packed file of the map in `folder`; empty when there is none.
std::string PackedMapFileIn(const std::string& folder, int32_t mapNumber);

}  // namespace wf
