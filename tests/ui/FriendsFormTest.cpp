// The friends' dialog and when the link runs, with a fake dialog and link.

#include <gtest/gtest.h>

#include "DesktopFakes.h"
#include "FriendsFakes.h"

namespace wf::ui {
namespace {

using namespace testing;

// Friends set up as Connect leaves them.
const std::string kSetUp =
    Pair("friendsbroker", "mqtt://127.0.0.1") + Pair("friendsgroup", "g") + Pair("friendsid", "00000000000000aa");

struct FriendsRig {
  explicit FriendsRig(const std::string& text = File(Pair("CurrentMap", "0"))) : file(text) {}
  ConfigFile file;
  FakeSecretStore secrets;
  FakeFriendsDialog dialog;
  FakeFriendsConnection link;
  wf::testing::FakeMessageBoxes boxes;
  TFriendsForm form{dialog, link, *file.config, secrets, boxes, FixedRandom};
};

TEST(FriendsForm, LinkRunsAtStartOnlyWhenSetUpAndLeftConnected) {
  FakeSecretStore other("other");
  const std::string foreign = "dpapi:" + Base64Encode(*other.Protect("p"));
  struct Case {
    const char* name;
    std::string pairs;
    bool runs;
    const char* state;
  } cases[] = {
      {"never set up", Pair("CurrentMap", "0"), false, "Not connected"},
      {"set up", kSetUp, true, "Connecting..."},
      {"left disconnected", kSetUp + Pair("friendsconnect", "0"), false, "Not connected"},
      {"password of another user", kSetUp + Pair("friendspassword", foreign), false,
       "Type the password again: the saved one was protected for another Windows user or machine"},
  };
  for (const Case& c : cases) {
    FriendsRig rig(File(c.pairs));
    const std::string before = rig.file.Text();
    rig.form.Start();
    EXPECT_EQ(rig.link.starts.size(), c.runs ? 1u : 0u) << c.name;
    EXPECT_EQ(rig.form.StateText(), c.state) << c.name;
    EXPECT_EQ(rig.file.Text(), before) << c.name;
  }
}

TEST(FriendsForm, ConnectSavesTheFieldsAndTheNextStartRunsWithThem) {
  FriendsRig rig;
  rig.dialog.whileOpen = [&] {
    rig.dialog.fields = {"mqtts://example.test", "guild", "\xC3\x84rya", "aria", "secret", "ab:cd", true};
    rig.form.ConnectClick();
  };
  rig.form.OpenFriends();
  ASSERT_EQ(rig.link.starts.size(), 1u);
  EXPECT_EQ(rig.link.starts[0].id, "0123456789abcdef");
  EXPECT_EQ(rig.link.starts[0].name, "\xC3\x84rya");
  EXPECT_EQ(rig.dialog.state, "Connecting...");
  EXPECT_TRUE(rig.dialog.running);
  EXPECT_EQ(rig.file.Text().find("secret"), std::string::npos);
  // The next start runs with what was connected with.
  FriendsRig next(rig.file.Text());
  next.secrets = rig.secrets;
  next.form.Start();
  ASSERT_EQ(next.link.starts.size(), 1u);
  EXPECT_EQ(next.link.starts[0].password, "secret");
}

TEST(FriendsForm, DisconnectStopsTheLinkAndIsRememberedAtTheNextStart) {
  FriendsRig rig(File(kSetUp));
  rig.form.Start();
  rig.dialog.whileOpen = [&] { rig.form.DisconnectClick(); };
  rig.form.OpenFriends();
  EXPECT_EQ(rig.link.stops, 1);
  EXPECT_FALSE(rig.dialog.running);
  EXPECT_EQ(rig.dialog.state, "Not connected");
  EXPECT_NE(rig.file.Text().find(Pair("friendsconnect", "0")), std::string::npos);
}

TEST(FriendsForm, ShareTakesEffectAtOnceOnARunningLink) {
  FriendsRig rig(File(kSetUp));
  rig.form.Start();
  rig.dialog.whileOpen = [&] {
    rig.dialog.fields.Share = false;
    rig.dialog.fields.Group = "edited but not connected";
    rig.form.ShareClick();
  };
  rig.form.OpenFriends();
  ASSERT_EQ(rig.link.starts.size(), 2u);
  EXPECT_FALSE(rig.link.starts[1].share);
  EXPECT_EQ(rig.link.starts[1].group, "g");
  EXPECT_NE(rig.file.Text().find(Pair("friendsshare", "0")), std::string::npos);
}

TEST(FriendsForm, StateLineFollowsTheLinkWhileTheDialogIsOpen) {
  FriendsRig rig(File(kSetUp));
  rig.form.Start();
  std::vector<std::string> seen;
  rig.dialog.whileOpen = [&] {
    for (const char* text : {"Connected, 3 friends", "Cannot reach 127.0.0.1:1883"}) {
      rig.link.snapshot.stateText = text;
      rig.form.LinkChanged();
      seen.push_back(rig.dialog.state);
    }
  };
  rig.form.OpenFriends();
  EXPECT_EQ(seen, (std::vector<std::string>{"Connected, 3 friends", "Cannot reach 127.0.0.1:1883"}));
}

}  // namespace
}  // namespace wf::ui
