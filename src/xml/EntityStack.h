#pragma once
// The suspended reading positions while an entity's text is read in place of its
// reference: one node per open entity, innermost last.

#include <memory>
#include <string>
#include <vector>

namespace wf {

class TXmlParser;
struct TEntityDef;

struct TEntityStackNode {
  TEntityStackNode();
  ~TEntityStackNode();
  TEntityStackNode(const TEntityStackNode&) = delete;
  TEntityStackNode& operator=(const TEntityStackNode&) = delete;

  std::unique_ptr<TXmlParser> ExternalText;  // holder of an external entity's text
  std::string SavedEncoding;                 // the owner's encoding when the entity was entered
  const char* ResumeAt = nullptr;            // where reading goes on once the text is used up
  const TEntityDef* Entity = nullptr;        // whose text is read; lets a reference to it be refused
  bool ParameterEntity = false;
};

class TEntityStack {
 public:
  explicit TEntityStack(TXmlParser& owner) : OwnerParser(owner) {}
  ~TEntityStack();
  TEntityStack(const TEntityStack&) = delete;
  TEntityStack& operator=(const TEntityStack&) = delete;

  void Push(std::unique_ptr<TXmlParser> externalText, const char* resumeAt,
            const TEntityDef* entity = nullptr, bool parameterEntity = false);
  // The position to go on at, or none when the stack is empty. Frees the node's
  // external text and gives the owner back the encoding it had at the push.
  const char* Pop();
  // Pops every node (so the owner ends with the encoding it had before the first).
  void Clear();
  // Pops until `depth` nodes remain.
  void TruncateTo(size_t depth);

  size_t Count() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }
  // Whether the entity's text, or that of an entity of the same kind and name
  // (one its own text declared again), is being read.
  bool IsOpen(const TEntityDef* entity, bool parameterEntity) const;

  TXmlParser& OwnerParser;

 private:
  std::vector<std::unique_ptr<TEntityStackNode>> nodes_;
};

}  // namespace wf
