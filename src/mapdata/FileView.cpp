#include "mapdata/FileView.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace wf {

TFileView::TFileView(const platform::SharedReadFile& file, bool mapIt) : file_(file) {
  if (mapIt) mapping_ = file.Map();
  size_ = mapping_ ? mapping_->Size() : file.Size();
}

TFileView::TFileView(const platform::SharedReadFile& file, std::shared_ptr<const platform::MappedView> mapping)
    : file_(file), mapping_(std::move(mapping)) {
  size_ = mapping_ ? mapping_->Size() : file.Size();
}

TFileView::~TFileView() = default;

TFileView::TSpan TFileView::Window(uint64_t offset, size_t count) {
  if (offset >= size_) return {nullptr, 0};
  size_t available = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  if (mapping_) return {mapping_->Data() + offset, available};
  scratch_.resize(available);
  // The file may have shrunk since its size was taken: what is missing reads
  // as 0 rather than as whatever the buffer held before.
  size_t got = file_.ReadAt(offset, scratch_.data(), available);
  std::fill(scratch_.begin() + static_cast<std::ptrdiff_t>(got), scratch_.end(), 0);
  return {scratch_.data(), available};
}

void TFileView::Read(uint64_t offset, void* out, size_t count) {
  TSpan span = Window(offset, count);
  if (span.Size) std::memcpy(out, span.Data, span.Size);
  std::memset(static_cast<unsigned char*>(out) + span.Size, 0, count - span.Size);
}

}  // namespace wf
