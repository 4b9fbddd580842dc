#pragma once
// Owning lists of named nodes, always kept in ascending byte order of their
// names. Duplicate names are allowed and all kept; which of them a lookup finds
// is decided by the binary search below, and callers rely on it (the first of
// two equal attribute names written in a tag is the one found).

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlTypes.h"

namespace wf {

// Byte-wise comparison of unsigned bytes; a prefix sorts before the longer text.
inline int CompareNames(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  if (n > 0)
    if (int c = std::memcmp(a.data(), b.data(), n)) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

struct TNvpNode {
  TNvpNode() = default;
  TNvpNode(std::string name, std::string value) : Name(std::move(name)), Value(std::move(value)) {}
  virtual ~TNvpNode() = default;

  std::string Name;
  std::string Value;
};

// The sorted owning list behind every name list of the scanner. TNode needs a
// `Name` string.
//
// The entries are kept in blocks of a few hundred, so that inserting into or
// removing from a list of many thousand declarations (which a hostile document
// can make) costs a block's length, not the whole list's; by index and in order
// the list reads as one sorted sequence.
template <class TNode>
class TNameList {
 public:
  TNameList() = default;
  TNameList(const TNameList&) = delete;
  TNameList& operator=(const TNameList&) = delete;
  virtual ~TNameList() = default;

  // Inserts after the last entry whose name is smaller, so a node lands before
  // every entry of an equal name. (Walking back from the end to the first
  // smaller name finds the same place; the list is always sorted.)
  void AddSorted(std::unique_ptr<TNode> node) {
    if (blocks_.empty()) {
      blocks_.emplace_back();
      blocks_.back().push_back(std::move(node));
      starts_.push_back(0);
      count_ = 1;
      return;
    }
    // The first block whose last name is not smaller; the last block when none is.
    size_t lo = 0, hi = blocks_.size();
    while (lo < hi) {
      size_t mid = (lo + hi) / 2;
      if (CompareNames(blocks_[mid].back()->Name, node->Name) < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    const size_t b = lo < blocks_.size() ? lo : blocks_.size() - 1;
    Block& block = blocks_[b];
    size_t at = 0, end = block.size();
    while (at < end) {
      size_t mid = (at + end) / 2;
      if (CompareNames(block[mid]->Name, node->Name) < 0)
        at = mid + 1;
      else
        end = mid;
    }
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(at), std::move(node));
    ++count_;
    for (size_t k = b + 1; k < starts_.size(); ++k) ++starts_[k];
    if (block.size() > 2 * kBlockSize) {
      Block upper(std::make_move_iterator(block.begin() + kBlockSize), std::make_move_iterator(block.end()));
      block.resize(kBlockSize);
      blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b + 1), std::move(upper));
      starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b + 1), starts_[b] + kBlockSize);
    }
  }

  // Binary search that stops when the middle index repeats. Among equal names
  // the one it meets first is the answer.
  TNode* FindByName(std::string_view name) const {
    int index = IndexOfName(name);
    return index < 0 ? nullptr : &(*this)[index];
  }

  // The index FindByName's search ends at, or -1.
  int IndexOfName(std::string_view name) const {
    if (count_ == 0) return -1;
    size_t lo = 0, hi = count_;
    size_t last = static_cast<size_t>(-1);
    for (;;) {
      size_t mid = (lo + hi) / 2;
      if (mid == last) return -1;
      int c = CompareNames(Entry(mid).Name, name);
      if (c == 0) return static_cast<int>(mid);
      if (c < 0)
        lo = mid;
      else
        hi = mid;
      last = mid;
    }
  }

  int Count() const { return static_cast<int>(count_); }
  bool Empty() const { return count_ == 0; }
  TNode& operator[](int index) const { return Entry(static_cast<size_t>(index)); }

  // Removes the entry and hands it to the caller.
  std::unique_ptr<TNode> Extract(int index) {
    const size_t i = static_cast<size_t>(index);
    const size_t b = BlockOf(i);
    Block& block = blocks_[b];
    auto node = std::move(block[i - starts_[b]]);
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(i - starts_[b]));
    --count_;
    for (size_t k = b + 1; k < starts_.size(); ++k) --starts_[k];
    if (block.empty()) {
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
      starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(b));
    }
    return node;
  }
  void Delete(int index) { Extract(index); }
  void Clear() {
    blocks_.clear();
    starts_.clear();
    count_ = 0;
  }

  class iterator {
   public:
    iterator(const TNameList* list, size_t block, size_t entry) : list_(list), block_(block), entry_(entry) {}
    TNode& operator*() const { return *list_->blocks_[block_][entry_]; }
    TNode* operator->() const { return list_->blocks_[block_][entry_].get(); }
    iterator& operator++() {
      if (++entry_ == list_->blocks_[block_].size()) {
        ++block_;
        entry_ = 0;
      }
      return *this;
    }
    bool operator==(const iterator& other) const { return block_ == other.block_ && entry_ == other.entry_; }
    bool operator!=(const iterator& other) const { return !(*this == other); }

   private:
    const TNameList* list_;
    size_t block_;
    size_t entry_;
  };
  // The nodes belong to the list; walking a const list may still change them.
  iterator begin() const { return iterator(this, 0, 0); }
  iterator end() const { return iterator(this, blocks_.size(), 0); }

 protected:
  // Replaces the contents with entries already in this list's order.
  void TakeSorted(std::vector<std::unique_ptr<TNode>> sorted) {
    Clear();
    for (size_t i = 0; i < sorted.size(); i += kBlockSize) {
      size_t n = std::min(kBlockSize, sorted.size() - i);
      starts_.push_back(i);
      blocks_.emplace_back(std::make_move_iterator(sorted.begin() + static_cast<std::ptrdiff_t>(i)),
                           std::make_move_iterator(sorted.begin() + static_cast<std::ptrdiff_t>(i + n)));
    }
    count_ = sorted.size();
  }

 private:
  using Block = std::vector<std::unique_ptr<TNode>>;
  static constexpr size_t kBlockSize = 256;

  size_t BlockOf(size_t index) const {
    return static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin()) - 1;
  }
  TNode& Entry(size_t index) const {
    const size_t b = BlockOf(index);
    return *blocks_[b][index - starts_[b]];
  }

  std::vector<Block> blocks_;   // never an empty block
  std::vector<size_t> starts_;  // index of each block's first entry
  size_t count_ = 0;
};

template <class TNode = TNvpNode>
class TNvpList : public TNameList<TNode> {
 public:
  // The value of the node FindByName finds, or empty text.
  std::string ValueOf(std::string_view name) const {
    const TNode* node = this->FindByName(name);
    return node ? node->Value : std::string();
  }
};

struct TAttr : TNvpNode {
  using TNvpNode::TNvpNode;
  TAttrValueKind ValueKind = avNormal;
  TAttrKind AttrKind = akUnknown;
};

// The attributes of the current tag, processing instruction or XML declaration.
// A handler that walks it sees them in name order, not in document order.
class TAttrList : public TNvpList<TAttr> {
 public:
  // Clears the list, reads attributes from `From` and returns where reading
  // stopped: at NUL, ">" or, where a name is awaited, the first character that
  // cannot start one ("/" of "/>", "?" of "?>").
  const char* ParseAttributes(const char* From);
};

}  // namespace wf
