#include "TestBroker.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace wf::testing {

namespace {

const std::string kScript = TEST_BROKER_SCRIPT;

// Runs argv with its output into `outFile` (or /dev/null); returns the pid.
pid_t Spawn(const std::vector<std::string>& args, const std::string& outFile = "/dev/null") {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

bool Run(const std::vector<std::string>& args) {
  const pid_t pid = Spawn(args);
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TestBroker::TestBroker(int bridgeTo) {
  std::vector<std::string> args{kScript, "start", dir_.Path().string()};
  if (bridgeTo) args.insert(args.end(), {"--bridge-to", std::to_string(bridgeTo)});
  started_ = Run(args);
  std::istringstream env(dir_.Read("broker.env"));
  for (std::string line; std::getline(env, line);) {
    if (line.starts_with("MQTT_PORT=")) mqttPort_ = std::stoi(line.substr(10));
    if (line.starts_with("WS_PORT=")) wsPort_ = std::stoi(line.substr(8));
  }
}

TestBroker::~TestBroker() { Run({kScript, "stop", dir_.Path().string()}); }

void TestBroker::Kill() { Run({kScript, "kill", dir_.Path().string()}); }
bool TestBroker::Restart() { return Run({kScript, "restart", dir_.Path().string()}); }

std::string TestBroker::Url(const char* scheme) const {
  const bool ws = std::string(scheme) == "ws";
  return std::string(scheme) + "://127.0.0.1:" + std::to_string(ws ? wsPort_ : mqttPort_) + (ws ? "/mqtt" : "");
}

bool TestBroker::Publish(const std::string& topic, const std::string& payload, bool retain) const {
  std::vector<std::string> args{"mosquitto_pub", "-h", "127.0.0.1", "-p", std::to_string(mqttPort_), "-u", "aria",
                                "-P", "secret", "-t", topic};
  if (payload.empty()) args.push_back("-n");
  else args.insert(args.end(), {"-m", payload});
  if (retain) args.push_back("-r");
  return Run(args);
}

Subscriber::Subscriber(const TestBroker& broker, const std::string& filter) {
  pid_ = Spawn({"mosquitto_sub", "-h", "127.0.0.1", "-p", std::to_string(broker.MqttPort()), "-u", "aria", "-P",
                "secret", "-t", filter, "-t", "wayfarer/probe/#", "-F", "%t|%p"},
               dir_.File("lines"));
  // Wait until it has subscribed: it hears a message of its own.
  const std::string probe = "wayfarer/probe/" + std::to_string(pid_) + "/position";
  Eventually([&] {
    broker.Publish(probe, "probe", false);
    return !Lines().empty();
  }, std::chrono::seconds(5));
}

Subscriber::~Subscriber() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

std::vector<std::string> Subscriber::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(dir_.Read("lines"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Subscriber::WaitFor(const std::function<bool(const std::string&)>& accept, std::chrono::milliseconds timeout,
                         std::size_t from) const {
  return Eventually([&] {
    const std::vector<std::string> lines = Lines();
    for (std::size_t i = from; i < lines.size(); ++i)
      if (accept(lines[i])) return true;
    return false;
  }, timeout);
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace wf::testing
