#include "xml/EntityStack.h"

#include "xml/Declarations.h"
#include "xml/XmlParser.h"

namespace wf {

TEntityStackNode::TEntityStackNode() = default;
TEntityStackNode::~TEntityStackNode() = default;

TEntityStack::~TEntityStack() = default;

void TEntityStack::Push(std::unique_ptr<TXmlParser> externalText, const char* resumeAt,
                        const TEntityDef* entity, bool parameterEntity) {
  auto node = std::make_unique<TEntityStackNode>();
  node->ExternalText = std::move(externalText);
  node->SavedEncoding = OwnerParser.ActiveEncoding;
  node->ResumeAt = resumeAt;
  node->Entity = entity;
  node->ParameterEntity = parameterEntity;
  nodes_.push_back(std::move(node));
  OwnerParser.TextsChanged();
}

const char* TEntityStack::Pop() {
  if (nodes_.empty()) return nullptr;
  std::unique_ptr<TEntityStackNode> node = std::move(nodes_.back());
  nodes_.pop_back();
  // Restored also when it was empty: an XML declaration in an entity's text
  // governs that text only, never the rest of a document that had none.
  OwnerParser.ActiveEncoding = node->SavedEncoding;
  OwnerParser.TextsChanged();
  return node->ResumeAt;
}

void TEntityStack::Clear() { TruncateTo(0); }

void TEntityStack::TruncateTo(size_t depth) {
  while (nodes_.size() > depth) Pop();
}

bool TEntityStack::IsOpen(const TEntityDef* entity, bool parameterEntity) const {
  for (const auto& node : nodes_) {
    if (!node->Entity) continue;
    if (node->Entity == entity ||
        (node->ParameterEntity == parameterEntity && node->Entity->Name == entity->Name))
      return true;
  }
  return false;
}

}  // namespace wf
