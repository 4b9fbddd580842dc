// The friends' dialog and when the link runs, with a fake dialog and link.

#include <gtest/gtest.h>

#include "FriendsFakes.h"
#include "FormRig.h"
#include "ui/FriendsForm.h"
#include "ui/MenuCommands.h"

namespace wf::ui {
namespace {

using testing::ConfigFile;
using testing::FakeFriendsConnection;
using testing::FakeFriendsDialog;
using testing::FakeSecretStore;
using testing::FixedRandom;
using testing::File;
using testing::Pair;

// Friends set up as Connect leaves them.
std::string SetUpFile() {
  return File(Pair("friendsbroker", "mqtt://127.0.0.1") + Pair("friendsgroup", "g") +
              Pair("friendsid", "00000000000000aa"));
}

struct FriendsRig {
  explicit FriendsRig(const std::string& text = File(Pair("CurrentMap", "0"))) : file(text) {}
  TFriendsForm& Form() {
    form = std::make_unique<TFriendsForm>(dialog, link, *file.config, secrets, boxes, FixedRandom);
    return *form;
  }
  ConfigFile file;
  FakeSecretStore secrets;
  FakeFriendsDialog dialog;
  FakeFriendsConnection link;
  wf::testing::FakeMessageBoxes boxes;
  std::unique_ptr<TFriendsForm> form;
};

TEST(FriendsForm, LinkRunsAtStartOnlyWhenSetUpAndLeftConnected) {
  FakeSecretStore other("other");
  const std::string foreign = "dpapi:" + Base64Encode(*other.Protect("p"));
  const std::string base = Pair("friendsbroker", "mqtt://127.0.0.1") + Pair("friendsgroup", "g") +
                           Pair("friendsid", "00000000000000aa");
  struct Case {
    const char* name;
    std::string pairs;
    bool runs;
    const char* state;
  } cases[] = {
      {"never set up", Pair("CurrentMap", "0"), false, "Not connected"},
      {"set up", base, true, "Connecting..."},
      {"left disconnected", base + Pair("friendsconnect", "0"), false, "Not connected"},
      {"password of another user", base + Pair("friendspassword", foreign), false,
       "Type the password again: the saved one was protected for another Windows user or machine"},
  };
  for (const Case& c : cases) {
    FriendsRig rig(File(c.pairs));
    const std::string before = rig.file.Text();
    rig.Form().Start();
    EXPECT_EQ(rig.link.starts.size(), c.runs ? 1u : 0u) << c.name;
    EXPECT_EQ(rig.form->StateText(), c.state) << c.name;
    EXPECT_EQ(rig.file.Text(), before) << c.name;
  }
}

TEST(FriendsForm, OpeningAndClosingWithoutConnectWritesNothing) {
  FriendsRig rig;
  const std::string before = rig.file.Text();
  TFriendsForm& form = rig.Form();
  form.Start();
  rig.dialog.whileOpen = [&] {
    rig.dialog.fields.Broker = "mqtt://127.0.0.1";
    rig.dialog.fields.Share = false;
    form.ShareClick();
  };
  form.OpenFriends();
  EXPECT_EQ(rig.dialog.runs, 1);
  EXPECT_EQ(rig.file.Text(), before);
  EXPECT_TRUE(rig.link.starts.empty());
}

TEST(FriendsForm, ConnectSavesTheFieldsAndStartsTheLinkWithTheNewId) {
  FriendsRig rig;
  TFriendsForm& form = rig.Form();
  rig.dialog.whileOpen = [&] {
    rig.dialog.fields = {"mqtts://example.test", "guild", "\xC3\x84rya", "aria", "secret", "ab:cd", true};
    form.ConnectClick();
  };
  form.OpenFriends();
  ASSERT_EQ(rig.link.starts.size(), 1u);
  const friends::FriendsSettings& s = rig.link.starts[0];
  EXPECT_EQ(s.id, "0123456789abcdef");
  EXPECT_EQ(s.name, "\xC3\x84rya");
  EXPECT_EQ(s.password, "secret");
  EXPECT_EQ(rig.dialog.state, "Connecting...");
  EXPECT_TRUE(rig.dialog.running);
  EXPECT_EQ(rig.file.Text().find("secret"), std::string::npos);

  // The next run reads back exactly what was connected with.
  rig.file.Reload();
  FriendsRig next(rig.file.Text());
  next.secrets = rig.secrets;
  next.Form().Start();
  ASSERT_EQ(next.link.starts.size(), 1u);
  EXPECT_EQ(next.link.starts[0].password, "secret");
  EXPECT_EQ(next.link.starts[0].broker, "mqtts://example.test");
}

TEST(FriendsForm, DisconnectStopsTheLinkAndIsRememberedAtTheNextStart) {
  FriendsRig rig(SetUpFile());
  TFriendsForm& form = rig.Form();
  form.Start();
  rig.dialog.whileOpen = [&] { form.DisconnectClick(); };
  form.OpenFriends();
  EXPECT_EQ(rig.link.stops, 1);
  EXPECT_FALSE(rig.dialog.running);
  EXPECT_EQ(rig.dialog.state, "Not connected");
  form.Shutdown();
  EXPECT_EQ(rig.link.stops, 1);  // nothing left to stop

  FriendsRig next(rig.file.Text());
  next.Form().Start();
  EXPECT_TRUE(next.link.starts.empty());
}

TEST(FriendsForm, ShareTakesEffectAtOnceOnARunningLink) {
  FriendsRig rig(SetUpFile());
  TFriendsForm& form = rig.Form();
  form.Start();
  rig.dialog.whileOpen = [&] {
    rig.dialog.fields.Share = false;
    rig.dialog.fields.Group = "edited but not connected";
    form.ShareClick();
  };
  form.OpenFriends();
  ASSERT_EQ(rig.link.starts.size(), 2u);
  EXPECT_FALSE(rig.link.starts[1].share);
  EXPECT_EQ(rig.link.starts[1].group, "g");
  EXPECT_NE(rig.file.Text().find(Pair("friendsshare", "0")), std::string::npos);
}

TEST(FriendsForm, StateLineFollowsTheLinkWhileTheDialogIsOpen) {
  FriendsRig rig(SetUpFile());
  TFriendsForm& form = rig.Form();
  form.Start();
  std::vector<std::string> seen;
  rig.dialog.whileOpen = [&] {
    for (const char* text : {"Connected, 3 friends", "Cannot reach 127.0.0.1:1883"}) {
      rig.link.snapshot.stateText = text;
      form.LinkChanged();
      seen.push_back(rig.dialog.state);
    }
  };
  form.OpenFriends();
  EXPECT_EQ(seen, (std::vector<std::string>{"Connected, 3 friends", "Cannot reach 127.0.0.1:1883"}));
  rig.link.snapshot.stateText = "Connecting...";
  form.LinkChanged();  // closed: nothing to show it in
  EXPECT_EQ(rig.dialog.state, "Cannot reach 127.0.0.1:1883");
}

TEST(FriendsForm, PositionGoesToTheLinkOncePerChangeAndAgainAfterARestart) {
  FriendsRig rig(SetUpFile());
  TFriendsForm& form = rig.Form();
  form.PlayerMoved(TPlayerPosition{10, 20}, 1);  // before the link runs: kept
  form.Start();
  form.PlayerMoved(TPlayerPosition{10, 20}, 1);
  form.PlayerMoved(TPlayerPosition{11, 20}, 1);
  form.PlayerMoved(std::nullopt, 1);
  using P = friends::SharedPosition;
  EXPECT_EQ(rig.link.positions, (std::vector<std::optional<P>>{P{10, 20, std::nullopt, 1},
                                                                P{11, 20, std::nullopt, 1}, std::nullopt}));
}

TEST(FriendsForm, MapWindowOffersTheDialogOnlyWhenThereIsOne) {
  testing::FormRig rig;
  FriendsRig friendsRig;
  TMapForm& mapForm = rig.MakeForm();
  mapForm.AttachFriends(&friendsRig.Form());
  mapForm.FormCreate();
  EXPECT_EQ(rig.menu.Only({cmFriends}), (std::vector<std::pair<int, std::string>>{{cmFriends, "Friends..."}}));
  mapForm.SystemCommand(cmFriends);
  EXPECT_EQ(friendsRig.dialog.runs, 1);

  testing::FormRig without;
  without.Start();
  EXPECT_TRUE(without.menu.Only({cmFriends}).empty());
}

}  // namespace
}  // namespace wf::ui
