#include "platform/SecretStore.h"

#include <windows.h>
#include <dpapi.h>

#include <limits>

namespace wf::platform {

namespace {

// The Windows user's data protection: what is protected here can be read back
// only by the same user (on the same machine, or with a roaming profile).
// Never with a prompt: the program may run without anyone to answer it.
class DataProtection final : public ISecretStore {
 public:
  std::optional<std::string> Protect(std::string_view secret) override {
    return Run(secret, true);
  }
  std::optional<std::string> Unprotect(std::string_view protectedBytes) override {
    return Run(protectedBytes, false);
  }

 private:
  static std::optional<std::string> Run(std::string_view bytes, bool protect) {
    if (bytes.size() > std::numeric_limits<DWORD>::max() / 2) return std::nullopt;
    DATA_BLOB in{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
    DATA_BLOB out{0, nullptr};
    const BOOL done = protect ? CryptProtectData(&in, L"Wayfarer", nullptr, nullptr, nullptr,
                                                 CRYPTPROTECT_UI_FORBIDDEN, &out)
                              : CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr,
                                                   CRYPTPROTECT_UI_FORBIDDEN, &out);
    if (!done) return std::nullopt;
    std::string result(reinterpret_cast<const char*>(out.pbData), out.cbData);
    // The secret in clear does not stay behind in freed memory.
    if (!protect) SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return result;
  }
};

}  // namespace

ISecretStore& SystemSecretStore() {
  static DataProtection store;
  return store;
}

}  // namespace wf::platform
