// The friends' keys in the configuration file: what is read from each form a
// password may stand in, and that a write touches only what changed.

#include <gtest/gtest.h>

#include "FriendsFakes.h"
#include "Raised.h"
#include "common/Errors.h"
#include "ui/FriendsSettings.h"

namespace wf::ui {
namespace {

using testing::ConfigFile;
using testing::FakeSecretStore;
using testing::FixedRandom;
using testing::File;
using testing::Pair;

TEST(FriendsSettings, PasswordIsReadFromEachFormTheFileMayHold) {
  FakeSecretStore mine("me"), theirs("other");
  const std::string sealedForMe = "dpapi:" + Base64Encode(*mine.Protect("s\xC3\xA9same"));
  const std::string sealedForOther = "dpapi:" + Base64Encode(*theirs.Protect("x"));
  struct Case {
    const char* name;
    std::string stored;
    std::string password;
    bool unreadable, inClear;
  } cases[] = {
      {"none", "", "", false, false},
      {"protected for this user", sealedForMe, "s\xC3\xA9same", false, false},
      {"typed in clear (code page)", "s\xE9same", "s\xC3\xA9same", false, true},
      {"protected for another user", sealedForOther, "", true, false},
      {"not base64", "dpapi:!!!!", "", true, false},
      {"cut base64", "dpapi:" + sealedForMe.substr(6, 7), "", true, false},
  };
  for (const Case& c : cases) {
    TConfig config;
    if (!c.stored.empty()) config.AddPair("friendspassword", c.stored);
    const TFriendsSetup setup = ReadFriendsSetup(config, mine);
    EXPECT_EQ(setup.Settings.password, c.password) << c.name;
    EXPECT_EQ(setup.PasswordUnreadable, c.unreadable) << c.name;
    EXPECT_EQ(setup.PasswordInClear, c.inClear) << c.name;
  }
}

TEST(FriendsSettings, AWriteAddsOnlyKeysThatDifferFromTheirAbsenceAndRewritesNothingTheSame) {
  ConfigFile file;
  FakeSecretStore secrets;
  TFriendsSetup setup;
  setup.Settings.broker = "mqtts://example.test";
  setup.Settings.group = "guild_1";
  setup.Settings.name = "J\xC3\xB6rg";
  setup.Settings.password = "pw";
  setup.Settings.share = false;
  ASSERT_TRUE(WriteFriendsSetup(*file.config, secrets, setup, FixedRandom));
  const std::string once = file.Text();
  EXPECT_EQ(once, File(Pair("CurrentMap", "0") + Pair("friendsbroker", "mqtts://example.test") +
                       Pair("friendsgroup", "guild_1") + Pair("friendsname", "J\xF6rg") + Pair("friendsshare", "0") +
                       Pair("friendsid", "0123456789abcdef") +
                       Pair("friendspassword", "dpapi:" + Base64Encode("sealed:me:1:pw"))));
  file.Reload();
  WriteFriendsSetup(*file.config, secrets, ReadFriendsSetup(*file.config, secrets), [] { return uint64_t{42}; });
  // The sealing differs every time, so a rewritten password would show.
  EXPECT_EQ(file.Text(), once);
}

TEST(FriendsSettings, UnreadablePasswordStaysUntilAnotherIsTyped) {
  FakeSecretStore other("other"), secrets;
  const std::string foreign = "dpapi:" + Base64Encode(*other.Protect("theirs"));
  ConfigFile file(File(Pair("friendsbroker", "mqtt://localhost") + Pair("friendspassword", foreign)));
  TFriendsSetup setup = ReadFriendsSetup(*file.config, secrets);
  ASSERT_TRUE(setup.PasswordUnreadable);
  WriteFriendsSetup(*file.config, secrets, setup, FixedRandom);
  EXPECT_NE(file.Text().find(foreign), std::string::npos);
  setup.Settings.password = "typed";
  WriteFriendsSetup(*file.config, secrets, setup, FixedRandom);
  file.Reload();
  EXPECT_EQ(ReadFriendsSetup(*file.config, secrets).Settings.password, "typed");
}

TEST(FriendsSettings, TextTheCodePageCannotHoldIsRefusedAndNothingWritten) {
  ConfigFile file;
  const std::string before = file.Text();
  FakeSecretStore secrets;
  TFriendsSetup setup;
  setup.Settings.broker = "mqtt://127.0.0.1";
  setup.Settings.name = "\xE9\x9B\xAA";  // a CJK character
  EXPECT_EQ(wf::testing::Raised<Exception>([&] { WriteFriendsSetup(*file.config, secrets, setup, FixedRandom); }),
            "The name can hold only the characters of Western European Windows (code page 1252); nothing was saved");
  EXPECT_EQ(file.Text(), before);
}

TEST(FriendsSettings, PasswordTheSystemCannotProtectIsNeverWrittenInClear) {
  ConfigFile file;
  FakeSecretStore secrets;
  secrets.refuse = true;
  TFriendsSetup setup;
  setup.Settings.broker = "mqtt://127.0.0.1";
  setup.Settings.password = "hunter2";
  EXPECT_FALSE(WriteFriendsSetup(*file.config, secrets, setup, FixedRandom));
  EXPECT_EQ(file.Text().find("hunter2"), std::string::npos);
  EXPECT_NE(file.Text().find("friendsbroker"), std::string::npos);
}

TEST(FriendsSettings, Base64RoundTripsAndRefusesWhatIsNot) {
  for (const std::string& bytes : {std::string(), std::string("f"), std::string("fo"), std::string("foo"),
                                  std::string("foob"), std::string("\0\xFF\x80", 3)})
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes) << Base64Encode(bytes);
  EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
  for (const char* bad : {"Zm9", "Zm9v!", "Z===", "Zm=v", "Zm9v\nYmFy"})
    EXPECT_EQ(Base64Decode(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace wf::ui
