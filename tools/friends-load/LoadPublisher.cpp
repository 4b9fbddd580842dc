#include "LoadPublisher.h"

#include <cstdio>

#include "friends/MqttPackets.h"
#include "friends/Payload.h"
#include "friends/Session.h"
#include "friends/Settings.h"

namespace wf::friends {

std::unique_ptr<LoadPublisher> LoadPublisher::Connect(const std::string& broker, const std::string& user,
                                                      const std::string& password, std::string& error) {
  const auto address = ParseBroker(broker, error);
  if (!address) return nullptr;
  if (address->transport != Transport::Mqtt) {
    error = "the load tool speaks mqtt:// only";
    return nullptr;
  }
  platform::StreamTarget target;
  target.host = address->host;
  target.port = address->port;
  target.loopbackOnly = true;  // a load generator has no business elsewhere
  platform::ConnectFailure failure;
  auto stream = platform::OpenStream(target, failure, std::chrono::seconds(5));
  if (!stream) {
    error = "cannot reach " + address->HostPort() + ": " + failure.text;
    return nullptr;
  }
  mqtt::ConnectOptions connect;
  connect.clientId = "wayfarer-load-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000);
  connect.keepAliveSeconds = 0;
  if (!user.empty()) connect.user = user;
  if (!password.empty()) connect.password = password;
  std::string answer;
  if (!stream->Write(*mqtt::EncodeConnect(connect))) {
    error = "the broker closed the connection";
    return nullptr;
  }
  mqtt::Packet packet;
  while (mqtt::DecodePacket(answer, packet).status == mqtt::Decoded::Status::NeedMore) {
    if (stream->Read(answer, 64, std::chrono::seconds(5)) != platform::ByteStream::ReadResult::Data) {
      error = "no CONNACK from the broker";
      return nullptr;
    }
  }
  if (packet.type != mqtt::PacketType::Connack || packet.returnCode != 0) {
    error = "refused: " + mqtt::ConnackText(packet.returnCode);
    return nullptr;
  }
  return std::unique_ptr<LoadPublisher>(new LoadPublisher(std::move(stream)));
}

std::string LoadPublisher::IdOf(int index) {
  char id[17];
  std::snprintf(id, sizeof id, "%016x", static_cast<unsigned>(index));
  return id;
}

bool LoadPublisher::Publish(const std::string& group, int index, const SharedPosition& position) {
  const auto packet = mqtt::EncodePublish(PositionTopic(group, IdOf(index)),
                                          WritePayload("Load " + std::to_string(index), position), true);
  ++sent_;
  return packet && stream_->Write(*packet);
}

bool LoadPublisher::ClearAll(const std::string& group, int count) {
  std::string batch;
  for (int i = 0; i < count; ++i) batch += *mqtt::EncodePublish(PositionTopic(group, IdOf(i)), "", true);
  return stream_->Write(batch);
}

}  // namespace wf::friends
