#pragma once
// Many simulated friends on one MQTT connection: each id's position is
// published retained on its own topic, as that many programs would. For the
// load tool and the benchmark; loopback brokers only.

#include <cstdint>
#include <memory>
#include <string>

#include "friends/FriendsLink.h"
#include "platform/ByteStream.h"

namespace wf::friends {

class LoadPublisher {
 public:
  // Connects (no keep-alive, no will) and waits for the broker's CONNACK;
  // null with `error` set on failure.
  static std::unique_ptr<LoadPublisher> Connect(const std::string& broker, const std::string& user,
                                                const std::string& password, std::string& error);

  // Friend `index`'s id: 16 hex digits, as Wayfarer makes them.
  static std::string IdOf(int index);
  bool Publish(const std::string& group, int index, const SharedPosition& position);
  // Empty retained messages for friends 0..count-1: the broker keeps nothing.
  bool ClearAll(const std::string& group, int count);
  uint64_t Sent() const { return sent_; }

 private:
  explicit LoadPublisher(std::unique_ptr<platform::ByteStream> stream) : stream_(std::move(stream)) {}
  std::unique_ptr<platform::ByteStream> stream_;
  uint64_t sent_ = 0;
};

}  // namespace wf::friends
