#pragma once
// Stand-ins for the friends' dialog, its link and the user's secret store, and
// a configuration file in a fresh directory.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "config/Config.h"
#include "platform/SecretStore.h"
#include "ui/FriendsForm.h"

namespace wf::ui::testing {

// Sealed for one user; every sealing differs, as the system's does.
class FakeSecretStore : public platform::ISecretStore {
 public:
  explicit FakeSecretStore(std::string user = "me") : user_(std::move(user)) {}
  std::optional<std::string> Protect(std::string_view secret) override {
    if (refuse) return std::nullopt;
    return "sealed:" + user_ + ":" + std::to_string(++seals_) + ":" + std::string(secret);
  }
  std::optional<std::string> Unprotect(std::string_view bytes) override {
    const std::string prefix = "sealed:" + user_ + ":";
    const size_t colon = bytes.starts_with(prefix) ? bytes.find(':', prefix.size()) : std::string_view::npos;
    if (colon == std::string_view::npos) return std::nullopt;
    return std::string(bytes.substr(colon + 1));
  }
  bool refuse = false;

 private:
  std::string user_;
  int seals_ = 0;
};

class FakeFriendsDialog : public IFriendsDialog {
 public:
  void Run() override {
    open = true, ++runs;
    if (whileOpen) whileOpen();
    open = false;
  }
  bool IsOpen() const override { return open; }
  TFriendsFields Fields() const override { return fields; }
  void SetFields(const TFriendsFields& value) override { fields = value; }
  void SetStateText(const std::string& text) override { state = text; }
  void SetRunning(bool value) override { running = value; }

  std::function<void()> whileOpen;  // the player's doings while it is open
  TFriendsFields fields;
  std::string state;
  bool running = false, open = false;
  int runs = 0;
};

class FakeFriendsConnection : public IFriendsConnection {
 public:
  void Start(const friends::FriendsSettings& settings) override { starts.push_back(settings); }
  void Stop() override { ++stops; }
  void SetPosition(std::optional<friends::SharedPosition> position) override { positions.push_back(position); }
  friends::FriendsSnapshot Snapshot() const override { return snapshot; }

  std::vector<friends::FriendsSettings> starts;
  int stops = 0;
  std::vector<std::optional<friends::SharedPosition>> positions;
  friends::FriendsSnapshot snapshot;
};

inline std::string File(const std::string& pairs) { return "<configuration>\r\n" + pairs + "</configuration>\r\n"; }
inline std::string Pair(const std::string& key, const std::string& value) {
  return "<config key=\"" + key + "\" value=\"" + value + "\" />\r\n";
}
inline uint64_t FixedRandom() { return 0x0123456789ABCDEFull; }

// configtravel.xml with the given text, read by a fresh store.
struct ConfigFile {
  explicit ConfigFile(const std::string& text = File(Pair("CurrentMap", "0"))) {
    dir.Write("configtravel.xml", text);
    Reload();
  }
  void Reload() { (config = std::make_unique<TConfig>())->LoadFromFile(dir.File("configtravel.xml")); }
  std::string Text() const { return dir.Read("configtravel.xml"); }

  wf::testing::TempDir dir;
  std::unique_ptr<TConfig> config;
};

}  // namespace wf::ui::testing
