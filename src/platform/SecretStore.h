#pragma once
// Keeping a secret (the friends' broker password) on disk so that only this
// user on this machine can read it back: the Windows user's data protection.
// Elsewhere there is no such service and both calls fail.

#include <optional>
#include <string>
#include <string_view>

namespace wf::platform {

class ISecretStore {
 public:
  virtual ~ISecretStore() = default;
  // The protected bytes, or nothing when the system refuses.
  virtual std::optional<std::string> Protect(std::string_view secret) = 0;
  // The secret, or nothing when these bytes were protected for another user or
  // machine, or are not protected data at all.
  virtual std::optional<std::string> Unprotect(std::string_view protectedBytes) = 0;
};

// The system's store (Win32: CryptProtectData for the current user).
ISecretStore& SystemSecretStore();

}  // namespace wf::platform
