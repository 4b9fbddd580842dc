#include "ui/FriendsSettings.h"

#include <algorithm>
#include <array>

#include "common/Errors.h"
#include "common/IntegerText.h"
#include "config/Config.h"
#include "config/TextEncoding.h"
#include "places/PlaceText.h"
#include "platform/SecretStore.h"

namespace wf::ui {

namespace {

constexpr char kBrokerKey[] = "friendsbroker";
constexpr char kGroupKey[] = "friendsgroup";
constexpr char kNameKey[] = "friendsname";
constexpr char kUserKey[] = "friendsuser";
constexpr char kPasswordKey[] = "friendspassword";
constexpr char kCertKey[] = "friendscert";
constexpr char kShareKey[] = "friendsshare";
constexpr char kIdKey[] = "friendsid";
constexpr char kConnectKey[] = "friendsconnect";

constexpr std::string_view kProtectedPrefix = "dpapi:";
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool ValueOn(const TConfig& config, const char* key, bool absent) {
  const TPair* pair = config.FindPair(key);
  const std::optional<int32_t> value = pair ? TryParseInteger(pair->Value) : std::nullopt;
  return value ? *value != 0 : absent;
}

std::string TextOf(const TConfig& config, const char* key) {
  return places::Cp1252ToUtf8(config.GetValue(key));
}

// Changes the key when its value differs; a key that is absent is left so
// while the value is what its absence means.
bool Stage(TConfig& config, const char* key, const std::string& value, const std::string& absent) {
  const TPair* pair = config.FindPair(key);
  if (pair ? pair->Value == value : value == absent) return false;
  config.SetValue(key, value);
  return true;
}

std::string InCodePage(const std::string& utf8, const char* field) {
  std::optional<std::string> text = Utf8ToCodePage(utf8);
  if (!text)
    throw Exception(std::string("The ") + field +
                    " can hold only the characters of Western European Windows (code page 1252); "
                    "nothing was saved");
  return *text;
}

std::string NewId(const std::function<uint64_t()>& random) {
  static constexpr char kHex[] = "0123456789abcdef";
  uint64_t bits = random();
  std::string id(16, '0');
  for (int i = 15; i >= 0; --i, bits >>= 4) id[static_cast<size_t>(i)] = kHex[bits & 15];
  return id;
}

// The password the file holds, when this user on this machine can read it.
std::optional<std::string> StoredPassword(const std::string& value, platform::ISecretStore& secrets,
                                          bool& inClear) {
  inClear = false;
  if (value.empty()) return std::string();
  if (!value.starts_with(kProtectedPrefix)) {
    inClear = true;
    return places::Cp1252ToUtf8(value);
  }
  const std::optional<std::string> bytes = Base64Decode(std::string_view(value).substr(kProtectedPrefix.size()));
  if (!bytes) return std::nullopt;
  return secrets.Unprotect(*bytes);
}

}  // namespace

bool FriendsSetUp(const TConfig& config) { return !config.GetValue(kBrokerKey).empty(); }

bool IsFriendsId(std::string_view text) {
  if (text.size() != 16) return false;
  for (const char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

TFriendsSetup ReadFriendsSetup(const TConfig& config, platform::ISecretStore& secrets) {
  TFriendsSetup setup;
  friends::FriendsSettings& s = setup.Settings;
  s.broker = TextOf(config, kBrokerKey);
  s.group = TextOf(config, kGroupKey);
  s.name = TextOf(config, kNameKey);
  s.user = TextOf(config, kUserKey);
  s.certSha256 = TextOf(config, kCertKey);
  s.share = ValueOn(config, kShareKey, true);
  const std::string id = config.GetValue(kIdKey);
  if (IsFriendsId(id)) s.id = id;
  setup.Connect = ValueOn(config, kConnectKey, true);
  const std::optional<std::string> password =
      StoredPassword(config.GetValue(kPasswordKey), secrets, setup.PasswordInClear);
  if (password)
    s.password = *password;
  else
    setup.PasswordUnreadable = true;
  return setup;
}

bool WriteFriendsSetup(TConfig& config, platform::ISecretStore& secrets, const TFriendsSetup& setup,
                       const std::function<uint64_t()>& random) {
  const friends::FriendsSettings& s = setup.Settings;
  // Everything the file cannot hold is refused before anything changes.
  const std::string broker = InCodePage(s.broker, "broker address");
  const std::string group = InCodePage(s.group, "group");
  const std::string name = InCodePage(s.name, "name");
  const std::string user = InCodePage(s.user, "user name");
  const std::string cert = InCodePage(s.certSha256, "certificate fingerprint");

  bool changed = false;
  changed |= Stage(config, kBrokerKey, broker, "");
  changed |= Stage(config, kGroupKey, group, "");
  changed |= Stage(config, kNameKey, name, "");
  changed |= Stage(config, kUserKey, user, "");
  changed |= Stage(config, kCertKey, cert, "");
  changed |= Stage(config, kShareKey, s.share ? "1" : "0", "1");
  changed |= Stage(config, kConnectKey, setup.Connect ? "1" : "0", "1");
  if (!IsFriendsId(config.GetValue(kIdKey))) {
    config.SetValue(kIdKey, NewId(random));
    changed = true;
  }

  // Protecting gives other bytes every time: the password is written only
  // when it differs from what the file's reads back as, or stands there in clear.
  bool failed = false;
  const std::string stored = config.GetValue(kPasswordKey);
  bool inClear = false;
  const std::optional<std::string> before = StoredPassword(stored, secrets, inClear);
  if (s.password.empty()) {
    if (config.FindPair(kPasswordKey) && !setup.PasswordUnreadable) {
      config.RemoveKey(kPasswordKey);
      changed = true;
    }
  } else if (inClear || before != s.password) {
    const std::optional<std::string> sealed = secrets.Protect(s.password);
    if (sealed) {
      config.SetValue(kPasswordKey, std::string(kProtectedPrefix) + Base64Encode(*sealed));
      changed = true;
    } else {
      failed = true;
    }
  }
  if (changed) config.Save();
  return !failed;
}

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      out += k <= n ? kBase64[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::array<int, 256> value;
  value.fill(-1);
  for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kBase64[i])] = i;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    size_t padding = 0;
    uint32_t group = 0;
    for (size_t k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && last && k >= 2) {
        ++padding;
        group <<= 6;
        continue;
      }
      const int v = value[static_cast<unsigned char>(c)];
      if (v < 0 || padding > 0) return std::nullopt;
      group = (group << 6) | static_cast<uint32_t>(v);
    }
    for (size_t k = 0; k < 3 - padding; ++k) out += static_cast<char>((group >> (16 - 8 * k)) & 0xFF);
  }
  return out;
}

}  // namespace wf::ui
