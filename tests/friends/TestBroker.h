#pragma once
// A real mosquitto on this machine for a test (scripts/test-broker does
// the work), and mosquitto_pub / mosquitto_sub acting as another friend.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "TempDir.h"

namespace wf::testing {

class TestBroker {
 public:
  // `bridgeTo`: the MQTT port of a broker to bridge wayfarer/# with, or 0.
  explicit TestBroker(int bridgeTo = 0);
  ~TestBroker();
  TestBroker(const TestBroker&) = delete;
  TestBroker& operator=(const TestBroker&) = delete;

  bool Started() const { return started_; }
  void Kill();     // SIGKILL: no goodbye to anyone
  bool Restart();  // on the same ports

  int MqttPort() const { return mqttPort_; }
  int WsPort() const { return wsPort_; }
  std::string Url(const char* scheme = "mqtt") const;

  // mosquitto_pub as user aria; false when it failed.
  bool Publish(const std::string& topic, const std::string& payload, bool retain = true) const;

 private:
  TempDir dir_;
  bool started_ = false;
  int mqttPort_ = 0;
  int wsPort_ = 0;
};

// mosquitto_sub on a topic filter, writing "topic|payload" lines to a file.
class Subscriber {
 public:
  Subscriber(const TestBroker& broker, const std::string& filter);
  ~Subscriber();
  Subscriber(const Subscriber&) = delete;
  Subscriber& operator=(const Subscriber&) = delete;
  std::vector<std::string> Lines() const;
  // Waits for a line from the `from`th on that `accept` takes; false after `timeout`.
  bool WaitFor(const std::function<bool(const std::string&)>& accept, std::chrono::milliseconds timeout,
               std::size_t from = 0) const;

 private:
  TempDir dir_;
  pid_t pid_ = -1;
};

// Polls `condition` every few milliseconds until it holds or `timeout` passed.
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace wf::testing
