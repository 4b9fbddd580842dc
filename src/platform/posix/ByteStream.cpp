// Plain TCP for the native build: enough for the tests and tools, which talk
// to brokers on this machine. TLS is the system's business on Windows.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/ByteStream.h"

namespace wf::platform {

namespace {

using Clock = std::chrono::steady_clock;

bool IsLoopback(const sockaddr* address) {
  if (address->sa_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
  }
  if (address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    if (IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr)) return true;
    return IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr) && v6->sin6_addr.s6_addr[12] == 127;
  }
  return false;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left, 1 << 30));
}

class TcpStream : public ByteStream {
 public:
  explicit TcpStream(int fd) : fd_(fd) {}
  ~TcpStream() override { ::close(fd_); }

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      if (shut_) return false;
      const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(sent));
        continue;
      }
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        pollfd pfd{fd_, POLLOUT, 0};
        if (::poll(&pfd, 1, 1000) < 0 && errno != EINTR) return false;
        continue;
      }
      return false;
    }
    return true;
  }

  ReadResult Read(std::string& out, std::size_t maxBytes, std::chrono::milliseconds timeout) override {
    if (shut_ || closed_) return ReadResult::Closed;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      pollfd pfd{fd_, POLLIN, 0};
      const int ready = ::poll(&pfd, 1, MillisecondsLeft(deadline));
      if (shut_) return ReadResult::Closed;
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return Closed();
      if (ready == 0) return ReadResult::Timeout;
      const std::size_t before = out.size();
      out.resize(before + maxBytes);
      const ssize_t got = ::recv(fd_, out.data() + before, maxBytes, 0);
      out.resize(before + (got > 0 ? static_cast<std::size_t>(got) : 0));
      if (got > 0) return ReadResult::Data;
      if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      return Closed();
    }
  }

  void Shutdown() override {
    shut_ = true;
    // Wakes a poll in another thread; the descriptor stays ours until destroyed.
    ::shutdown(fd_, SHUT_RDWR);
  }

 private:
  ReadResult Closed() {
    closed_ = true;
    return ReadResult::Closed;
  }

  int fd_;
  std::atomic<bool> shut_{false};
  bool closed_ = false;
};

// Connects one resolved address within the deadline; -1 on failure.
int ConnectOne(const addrinfo* address, Clock::time_point deadline, std::string& error) {
  const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address->ai_protocol);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  int result = ::connect(fd, address->ai_addr, address->ai_addrlen);
  if (result < 0 && errno == EINPROGRESS) {
    pollfd pfd{fd, POLLOUT, 0};
    do {
      result = ::poll(&pfd, 1, MillisecondsLeft(deadline));
    } while (result < 0 && errno == EINTR);
    if (result == 0) {
      error = "no answer in time";
      ::close(fd);
      return -1;
    }
    int status = 0;
    socklen_t length = sizeof status;
    if (result < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &status, &length) < 0 || status != 0) {
      error = std::strerror(result < 0 ? errno : status);
      ::close(fd);
      return -1;
    }
  } else if (result < 0) {
    error = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  // Position messages are small and late ones are worthless.
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

}  // namespace

std::unique_ptr<ByteStream> OpenStream(const StreamTarget& target, ConnectFailure& failure,
                                       std::chrono::milliseconds timeout) {
  failure = ConnectFailure{};
  if (target.tls) {
    failure.kind = ConnectFailure::Kind::TlsFailed;
    failure.text = "TLS is not available in this build";
    return nullptr;
  }
  const auto deadline = Clock::now() + timeout;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(target.port);
  const int status = ::getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found);
  if (status != 0) {
    failure.kind = ConnectFailure::Kind::Unreachable;
    failure.text = ::gai_strerror(status);
    return nullptr;
  }
  std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, ::freeaddrinfo);
  if (target.loopbackOnly) {
    for (const addrinfo* a = found; a; a = a->ai_next) {
      if (!IsLoopback(a->ai_addr)) {
        failure.kind = ConnectFailure::Kind::NotLoopback;
        failure.text = target.host + " is not this machine";
        return nullptr;
      }
    }
  }
  failure.kind = ConnectFailure::Kind::Unreachable;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    const int fd = ConnectOne(a, deadline, failure.text);
    if (fd >= 0) return std::make_unique<TcpStream>(fd);
    if (Clock::now() >= deadline) break;
  }
  return nullptr;
}

}  // namespace wf::platform
