#include "ui/FriendsForm.h"

#include <utility>

#include "platform/Desktop.h"

namespace wf::ui {

namespace {

constexpr char kCaption[] = "Friends";

TFriendsFields FieldsOf(const friends::FriendsSettings& s) {
  return {s.broker, s.group, s.name, s.user, s.password, s.certSha256, s.share};
}

}  // namespace

TFriendsForm::TFriendsForm(IFriendsDialog& dialog, IFriendsConnection& link, TConfig& config,
                           platform::ISecretStore& secrets, platform::IMessageBoxes& messages,
                           std::function<uint64_t()> random)
    : d_(dialog), link_(link), config_(config), secrets_(secrets), messages_(messages), random_(std::move(random)) {}

void TFriendsForm::Start() {
  if (!FriendsSetUp(config_)) return;
  TFriendsSetup setup = ReadFriendsSetup(config_, secrets_);
  FPasswordUnreadable = setup.PasswordUnreadable;
  // A login without the password would only be refused; the dialog asks for it.
  if (!setup.Connect || setup.PasswordUnreadable) return;
  // A link needs the installation's id, and a password typed into the file
  // in clear is protected now rather than at some later change.
  if (setup.Settings.id.empty() || setup.PasswordInClear) {
    WriteFriendsSetup(config_, secrets_, setup, random_);
    setup = ReadFriendsSetup(config_, secrets_);
  }
  Run(setup.Settings);
}

void TFriendsForm::Shutdown() {
  if (!FRunning) return;
  FRunning = false;
  link_.Stop();
}

void TFriendsForm::Run(const friends::FriendsSettings& settings) {
  FInUse = settings;
  link_.Start(FInUse);
  FRunning = true;
  // The link's mailbox may have been emptied by the new start.
  if (FPosition) link_.SetPosition(FPosition);
}

void TFriendsForm::OpenFriends() {
  if (d_.IsOpen()) return;
  const TFriendsSetup setup = ReadFriendsSetup(config_, secrets_);
  FPasswordUnreadable = setup.PasswordUnreadable && !FRunning;
  TFriendsFields fields = FieldsOf(setup.Settings);
  // A password that could not be saved is still the one in use.
  if (FRunning && fields.Password.empty()) fields.Password = FInUse.password;
  d_.SetFields(fields);
  ShowState();
  d_.Run();
}

void TFriendsForm::ConnectClick() {
  const TFriendsFields fields = d_.Fields();
  if (fields.Broker.empty() || fields.Group.empty()) {
    d_.SetStateText("Enter the broker address and the group");
    return;
  }
  TFriendsSetup setup = ReadFriendsSetup(config_, secrets_);
  friends::FriendsSettings& s = setup.Settings;
  s.broker = fields.Broker;
  s.group = fields.Group;
  s.name = fields.Name;
  s.user = fields.User;
  s.certSha256 = fields.Cert;
  s.share = fields.Share;
  s.password = fields.Password;
  setup.Connect = true;
  const bool passwordKept = WriteFriendsSetup(config_, secrets_, setup, random_);
  s.id = ReadFriendsSetup(config_, secrets_).Settings.id;
  if (!fields.Password.empty()) FPasswordUnreadable = false;
  Run(s);
  ShowState();
  if (!passwordKept)
    messages_.ShowError(kCaption,
                        "The password cannot be protected for this Windows user, so it is not saved; it is used "
                        "until the program ends");
}

void TFriendsForm::DisconnectClick() {
  Shutdown();
  TFriendsSetup setup = ReadFriendsSetup(config_, secrets_);
  if (FriendsSetUp(config_) && setup.Connect) {
    setup.Connect = false;
    WriteFriendsSetup(config_, secrets_, setup, random_);
  }
  ShowState();
}

void TFriendsForm::ShareClick() {
  const bool share = d_.Fields().Share;
  if (FriendsSetUp(config_)) {
    TFriendsSetup setup = ReadFriendsSetup(config_, secrets_);
    if (setup.Settings.share != share) {
      setup.Settings.share = share;
      WriteFriendsSetup(config_, secrets_, setup, random_);
    }
  }
  if (FRunning && FInUse.share != share) {
    FInUse.share = share;
    Run(FInUse);
  }
}

void TFriendsForm::PlayerMoved(std::optional<TPlayerPosition> position, int32_t map) {
  std::optional<friends::SharedPosition> now;
  if (position) now = friends::SharedPosition{position->X, position->Y, std::nullopt, map};
  if (now == FPosition) return;
  FPosition = now;
  if (FRunning) link_.SetPosition(FPosition);
}

void TFriendsForm::LinkChanged() {
  if (d_.IsOpen()) ShowState();
}

void TFriendsForm::ShowState() {
  d_.SetRunning(FRunning);
  d_.SetStateText(StateText());
}

std::string TFriendsForm::StateText() const {
  if (!FRunning)
    return FPasswordUnreadable
               ? "Type the password again: the saved one was protected for another Windows user or machine"
               : "Not connected";
  const friends::FriendsSnapshot snapshot = link_.Snapshot();
  return snapshot.stateText.empty() ? "Connecting..." : snapshot.stateText;
}

}  // namespace wf::ui
