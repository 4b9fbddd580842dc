#pragma once
// The friends' settings as the configuration file keeps them (keys
// "friends..."). A player who never sets up friends has none of these keys
// and gets none: every key is written only when its value changes, and one
// that is absent and would be written with its default stays absent.
//
// The file is in code page 1252 and so are the texts it holds; the settings
// handed to the link are UTF-8. A name or user name with a character outside
// the code page cannot be kept and is refused (WriteFriendsSetup raises).
//
// The password is never in the file in clear: it is written as
// "dpapi:<base64>" of what the system's secret store made of its UTF-8 bytes.
// One typed into the file by hand is taken as it stands and written
// protected at the next write; one that cannot be read back (the file was
// copied to another user or machine) counts as no password and is asked for
// again.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "friends/FriendsLink.h"

namespace wf {
class TConfig;
namespace platform {
class ISecretStore;
}
}  // namespace wf

namespace wf::ui {

struct TFriendsSetup {
  friends::FriendsSettings Settings;
  // Connect at start: on unless the player chose Disconnect last
  // ("friendsconnect" 0).
  bool Connect = true;
  // The file holds a password this user on this machine cannot read.
  bool PasswordUnreadable = false;
  // The file holds the password in clear; the next write protects it.
  bool PasswordInClear = false;
};

// Friends are set up once the file names a broker.
bool FriendsSetUp(const TConfig& config);

TFriendsSetup ReadFriendsSetup(const TConfig& config, platform::ISecretStore& secrets);

// Writes what differs from the file, all in one save, and makes the
// installation's id when there is none yet (from `random`; 16 hex digits).
// An empty password of a setup whose stored one is unreadable leaves that
// one as it is. Raises wf::Exception, without writing anything, for a text
// the file cannot hold, and as TConfig::Save when the file cannot be written.
// False when the password could not be protected and so was not written.
bool WriteFriendsSetup(TConfig& config, platform::ISecretStore& secrets, const TFriendsSetup& setup,
                       const std::function<uint64_t()>& random);

// 16 hex digits, as an id must be.
bool IsFriendsId(std::string_view text);

// Base64 with padding (RFC 4648); Decode gives nothing for text that is not.
std::string Base64Encode(std::string_view bytes);
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace wf::ui
