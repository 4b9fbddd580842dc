#pragma once
// Owning lists of named nodes, always kept in ascending byte order of their
// names. Duplicate names are allowed and all kept; which of them a lookup finds
// is decided by the binary search below, and callers rely on it (the first of
// two equal attribute names written in a tag is the one found).

#include <cstring>
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
    size_t lo = 0, hi = items_.size();
    while (lo < hi) {
      size_t mid = (lo + hi) / 2;
      if (CompareNames(items_[mid]->Name, node->Name) < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(lo), std::move(node));
  }

  // Binary search that stops when the middle index repeats. Among equal names
  // the one it meets first is the answer.
  TNode* FindByName(std::string_view name) const {
    if (items_.empty()) return nullptr;
    size_t lo = 0, hi = items_.size();
    size_t last = static_cast<size_t>(-1);
    for (;;) {
      size_t mid = (lo + hi) / 2;
      if (mid == last) return nullptr;
      int c = CompareNames(items_[mid]->Name, name);
      if (c == 0) return items_[mid].get();
      if (c < 0)
        lo = mid;
      else
        hi = mid;
      last = mid;
    }
  }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TNode& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }

  int IndexOf(const TNode* node) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == node) return static_cast<int>(i);
    return -1;
  }

  // Removes the entry and hands it to the caller.
  std::unique_ptr<TNode> Extract(int index) {
    auto node = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    return node;
  }
  void Delete(int index) { Extract(index); }
  void Clear() { items_.clear(); }

  class iterator {
   public:
    explicit iterator(typename std::vector<std::unique_ptr<TNode>>::const_iterator it) : it_(it) {}
    TNode& operator*() const { return **it_; }
    TNode* operator->() const { return it_->get(); }
    iterator& operator++() { ++it_; return *this; }
    bool operator==(const iterator& other) const { return it_ == other.it_; }
    bool operator!=(const iterator& other) const { return it_ != other.it_; }

   private:
    typename std::vector<std::unique_ptr<TNode>>::const_iterator it_;
  };
  // The nodes belong to the list; walking a const list may still change them.
  iterator begin() const { return iterator(items_.begin()); }
  iterator end() const { return iterator(items_.end()); }

 protected:
  std::vector<std::unique_ptr<TNode>> items_;
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
