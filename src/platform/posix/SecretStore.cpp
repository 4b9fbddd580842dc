#include "platform/SecretStore.h"

namespace wf::platform {

namespace {

// No system service keeps secrets per user here: nothing is protected, so a
// password is never written, and nothing protected elsewhere is read.
class NoSecretStore final : public ISecretStore {
 public:
  std::optional<std::string> Protect(std::string_view) override { return std::nullopt; }
  std::optional<std::string> Unprotect(std::string_view) override { return std::nullopt; }
};

}  // namespace

ISecretStore& SystemSecretStore() {
  static NoSecretStore store;
  return store;
}

}  // namespace wf::platform
