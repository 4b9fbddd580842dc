#pragma once
// Reading text values from the system's registry (Windows only; elsewhere
// nothing is ever found).

#include <optional>
#include <string>

namespace wf::platform {

enum class TRegistryRoot { LocalMachine, CurrentUser };

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // The text of `value` under `key` (as "SOFTWARE\\Maker\\Product"); nothing
  // when the key or the value is missing or holds no text.
  virtual std::optional<std::string> ReadText(TRegistryRoot root, const std::string& key,
                                              const std::string& value) = 0;
};

}  // namespace wf::platform
