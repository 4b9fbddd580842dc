#pragma once
// The bytes of one open data file for the time one picture is made. A
// read-only mapping is held only that long, so the game's patcher is never
// kept from replacing the file; where no mapping can be had, the same answers
// come from positioned reads. A view belongs to one thread; views on several
// threads may share one mapping.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Files.h"

namespace wf {

class TFileView {
 public:
  // Without `mapIt` only positioned reads are used, as when no mapping can be had.
  explicit TFileView(const platform::SharedReadFile& file, bool mapIt = true);
  // Over a mapping of `file` that the caller keeps (null: positioned reads).
  TFileView(const platform::SharedReadFile& file, std::shared_ptr<const platform::MappedView> mapping);
  ~TFileView();
  TFileView(const TFileView&) = delete;
  TFileView& operator=(const TFileView&) = delete;

  uint64_t Size() const { return size_; }

  // The bytes from `offset` on, at most `count` of them: fewer, or none, where
  // the file ends first. Valid until the next call on this view.
  struct TSpan {
    const unsigned char* Data;
    size_t Size;
  };
  TSpan Window(uint64_t offset, size_t count);

  // Copies `count` bytes at `offset`; bytes past the end of the file are 0.
  void Read(uint64_t offset, void* out, size_t count);

 private:
  const platform::SharedReadFile& file_;
  std::shared_ptr<const platform::MappedView> mapping_;
  uint64_t size_ = 0;
  std::vector<unsigned char> scratch_;
};

}  // namespace wf
