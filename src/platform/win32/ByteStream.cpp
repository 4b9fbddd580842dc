#include "platform/ByteStream.h"

// Winsock before windows.h, which would otherwise bring the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#define SECURITY_WIN32
#include <bcrypt.h>
#include <schannel.h>
#include <security.h>
#include <sspi.h>
#include <wincrypt.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace wf::platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Waits are cut into slices so a Shutdown from another thread is seen soon
// even where closing the socket under a waiting select would not wake it.
constexpr milliseconds kSlice{50};
// A handshake's messages (the server's certificate chain) are bounded: a
// peer that sends more is no TLS server worth waiting for.
constexpr size_t kHandshakeLimit = 64 * 1024;

std::string SystemText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out;
  if (text) {
    for (const wchar_t* p = text; *p; ++p) out += *p < 128 ? static_cast<char>(*p) : '?';
    LocalFree(text);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
    out.pop_back();
  return out.empty() ? "error " + std::to_string(code) : out + " (" + std::to_string(code) + ")";
}

bool WinsockReady() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

bool IsLoopback(const sockaddr* address) {
  if (address->sa_family == AF_INET)
    return (ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr) >> 24) == 127;
  if (address->sa_family == AF_INET6) {
    const auto* a = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr.s6_addr;
    static constexpr unsigned char kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    return std::memcmp(a, kLoopback, 16) == 0 || (std::memcmp(a, kMapped, 12) == 0 && a[12] == 127);
  }
  return false;
}

milliseconds Left(Clock::time_point deadline) {
  return std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
}

// One TCP connection, non-blocking, waited on in slices.
class Socket {
 public:
  explicit Socket(SOCKET s) : s_(s) {}
  ~Socket() { closesocket(s_); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // Readable (or writable) within `wait`: 1; not yet: 0; shut down or broken: -1.
  int Wait(bool write, milliseconds wait) {
    const Clock::time_point deadline = Clock::now() + wait;
    for (;;) {
      if (shut_.load()) return -1;
      fd_set set, errors;
      FD_ZERO(&set);
      FD_ZERO(&errors);
      FD_SET(s_, &set);
      FD_SET(s_, &errors);
      const milliseconds slice = std::min(kSlice, Left(deadline));
      timeval tv{0, static_cast<long>(slice.count() * 1000)};
      const int n = select(0, write ? nullptr : &set, write ? &set : nullptr, &errors, &tv);
      if (n == SOCKET_ERROR || FD_ISSET(s_, &errors)) return -1;
      if (n > 0) return shut_.load() ? -1 : 1;
      if (Left(deadline).count() == 0) return 0;
    }
  }

  bool SendAll(const char* data, size_t size) {
    while (size > 0) {
      if (Wait(true, milliseconds(10000)) != 1) return false;
      const int n = send(s_, data, static_cast<int>(std::min<size_t>(size, 64 * 1024)), 0);
      if (n == SOCKET_ERROR) {
        if (WSAGetLastError() == WSAEWOULDBLOCK) continue;
        return false;
      }
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  // Appends at most `maxBytes` that arrive within `wait`.
  ByteStream::ReadResult Receive(std::string& out, size_t maxBytes, milliseconds wait) {
    const int ready = Wait(false, wait);
    if (ready < 0) return ByteStream::ReadResult::Closed;
    if (ready == 0) return ByteStream::ReadResult::Timeout;
    char buffer[16 * 1024];
    const int n = recv(s_, buffer, static_cast<int>(std::min(sizeof buffer, maxBytes)), 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return ByteStream::ReadResult::Timeout;
    if (n <= 0) return ByteStream::ReadResult::Closed;
    out.append(buffer, static_cast<size_t>(n));
    return ByteStream::ReadResult::Data;
  }

  void Shutdown() {
    if (!shut_.exchange(true)) shutdown(s_, SD_BOTH);
  }
  bool IsShut() const { return shut_.load(); }

 private:
  SOCKET s_;
  std::atomic<bool> shut_{false};
};

class TcpStream final : public ByteStream {
 public:
  explicit TcpStream(std::unique_ptr<Socket> socket) : socket_(std::move(socket)) {}
  bool Write(std::string_view bytes) override { return socket_->SendAll(bytes.data(), bytes.size()); }
  ReadResult Read(std::string& out, std::size_t maxBytes, milliseconds timeout) override {
    if (maxBytes == 0) return ReadResult::Timeout;
    return socket_->Receive(out, maxBytes, timeout);
  }
  void Shutdown() override { socket_->Shutdown(); }

 private:
  std::unique_ptr<Socket> socket_;
};

std::unique_ptr<Socket> ConnectTcp(const StreamTarget& target, ConnectFailure& failure, Clock::time_point deadline) {
  failure = ConnectFailure{};
  if (!WinsockReady()) {
    failure.text = "Winsock cannot be started";
    return nullptr;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(target.port);
  if (const int error = getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found); error != 0 || !found) {
    failure.text = "cannot resolve " + target.host + ": " + SystemText(static_cast<DWORD>(error));
    return nullptr;
  }
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  if (target.loopbackOnly)
    for (const addrinfo* a = found; a; a = a->ai_next)
      if (!IsLoopback(a->ai_addr)) {
        failure.kind = ConnectFailure::Kind::NotLoopback;
        failure.text = target.host + " is not this machine";
        return nullptr;
      }
  failure.text = "no address to connect to";
  for (const addrinfo* a = found; a; a = a->ai_next) {
    const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == INVALID_SOCKET) continue;
    auto socket = std::make_unique<Socket>(s);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    const BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    if (connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0) return socket;
    if (WSAGetLastError() != WSAEWOULDBLOCK) {
      failure.text = SystemText(static_cast<DWORD>(WSAGetLastError()));
      continue;
    }
    const int ready = socket->Wait(true, Left(deadline));
    int error = 0;
    int length = sizeof error;
    if (ready == 1 && getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0 &&
        error == 0)
      return socket;
    failure.text = ready == 0 ? "no answer in time" : SystemText(static_cast<DWORD>(error ? error : WSAECONNREFUSED));
  }
  return nullptr;
}

std::optional<std::array<uint8_t, 32>> Sha256(const BYTE* data, DWORD size) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return std::nullopt;
  std::optional<std::array<uint8_t, 32>> digest;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0) {
    std::array<uint8_t, 32> bytes{};
    if (BCryptHashData(hash, const_cast<BYTE*>(data), size, 0) == 0 &&
        BCryptFinishHash(hash, bytes.data(), static_cast<ULONG>(bytes.size()), 0) == 0)
      digest = bytes;
    BCryptDestroyHash(hash);
  }
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return digest;
}

// The system's trusted roots and the host name accept the chain.
bool TrustedBySystem(PCCERT_CONTEXT certificate, const std::wstring& host, std::string& why) {
  CERT_CHAIN_PARA chainPara{};
  chainPara.cbSize = sizeof chainPara;
  LPSTR serverAuth = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
  chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
  chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuth;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara, 0, nullptr,
                               &chain)) {
    why = SystemText(GetLastError());
    return false;
  }
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
  CERT_CHAIN_POLICY_PARA policyPara{};
  policyPara.cbSize = sizeof policyPara;
  policyPara.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  const BOOL checked = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policyPara, &status);
  CertFreeCertificateChain(chain);
  if (!checked || status.dwError != 0) {
    why = SystemText(checked ? status.dwError : GetLastError());
    return false;
  }
  return true;
}

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// TLS through the system's own provider over one TCP connection.
class TlsStream final : public ByteStream {
 public:
  TlsStream(std::unique_ptr<Socket> socket, std::wstring host) : socket_(std::move(socket)), host_(std::move(host)) {
    SecInvalidateHandle(&credentials_);
    SecInvalidateHandle(&context_);
  }
  ~TlsStream() override {
    if (SecIsValidHandle(&context_)) DeleteSecurityContext(&context_);
    if (SecIsValidHandle(&credentials_)) FreeCredentialsHandle(&credentials_);
  }

  // The handshake and the certificate's check; on failure says why.
  bool Open(const StreamTarget& target, ConnectFailure& failure, Clock::time_point deadline) {
    SCHANNEL_CRED cred{};
    cred.dwVersion = SCHANNEL_CRED_VERSION;
    // The certificate is checked below, by its fingerprint or by the
    // system's roots, so that a refusal can name the certificate.
    cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry;
    SECURITY_STATUS status =
        AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &cred,
                                  nullptr, nullptr, &credentials_, &expiry);
    if (status != SEC_E_OK) return Fail(failure, "the system's TLS cannot be used: " + SystemText(status));
    if (!Handshake(failure, deadline, true)) return false;

    PCCERT_CONTEXT certificate = nullptr;
    status = QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate);
    if (status != SEC_E_OK || !certificate) return Fail(failure, "the server sent no certificate");
    const std::optional<std::array<uint8_t, 32>> digest =
        Sha256(certificate->pbCertEncoded, certificate->cbCertEncoded);
    std::string why;
    const bool trusted = digest && (target.pinnedSha256 ? *digest == *target.pinnedSha256
                                                        : TrustedBySystem(certificate, host_, why));
    CertFreeCertificateContext(certificate);
    if (!digest) return Fail(failure, "the certificate cannot be hashed");
    if (!trusted) {
      failure.kind = ConnectFailure::Kind::CertificateNotTrusted;
      failure.text = target.pinnedSha256 ? "the certificate is not the one pinned" : why;
      failure.certificateSha256 = digest;
      return false;
    }
    if (QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK)
      return Fail(failure, "the system's TLS gave no message sizes");
    return true;
  }

  bool Write(std::string_view bytes) override {
    std::lock_guard lock(writing_);
    std::vector<char> message(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
    while (!bytes.empty()) {
      const size_t n = std::min<size_t>(bytes.size(), sizes_.cbMaximumMessage);
      std::memcpy(message.data() + sizes_.cbHeader, bytes.data(), n);
      SecBuffer buffers[4] = {
          {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, message.data()},
          {static_cast<unsigned long>(n), SECBUFFER_DATA, message.data() + sizes_.cbHeader},
          {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, message.data() + sizes_.cbHeader + n},
          {0, SECBUFFER_EMPTY, nullptr},
      };
      SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
      if (EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return false;
      if (!socket_->SendAll(message.data(), buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer))
        return false;
      bytes.remove_prefix(n);
    }
    return true;
  }

  ReadResult Read(std::string& out, std::size_t maxBytes, milliseconds timeout) override {
    if (maxBytes == 0) return ReadResult::Timeout;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (plain_.empty()) {
      if (closed_ || socket_->IsShut()) return ReadResult::Closed;
      if (!Decrypt()) return ReadResult::Closed;
      if (!plain_.empty()) break;
      // A whole record is not in yet: more bytes, within the bound of one.
      if (raw_.size() >= sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer) return ReadResult::Closed;
      const ReadResult got = socket_->Receive(raw_, 16 * 1024, Left(deadline));
      if (got != ReadResult::Data) return got;
    }
    const size_t n = std::min(maxBytes, plain_.size());
    out.append(plain_, 0, n);
    plain_.erase(0, n);
    return ReadResult::Data;
  }

  void Shutdown() override { socket_->Shutdown(); }

 private:
  static bool Fail(ConnectFailure& failure, std::string text) {
    failure.kind = ConnectFailure::Kind::TlsFailed;
    failure.text = std::move(text);
    return false;
  }

  // Runs the handshake from the start, or on from bytes already in raw_
  // (the server's messages after it, such as new session tickets).
  bool Handshake(ConnectFailure& failure, Clock::time_point deadline, bool first) {
    const ULONG wanted = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                         ISC_REQ_EXTENDED_ERROR | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;
    bool needInput = !first && raw_.empty();
    for (;;) {
      if (needInput) {
        if (raw_.size() >= kHandshakeLimit) return Fail(failure, "the server's handshake is too long");
        const ReadResult got = socket_->Receive(raw_, kHandshakeLimit - raw_.size(), Left(deadline));
        if (got == ReadResult::Timeout) return Fail(failure, "no TLS answer in time");
        if (got == ReadResult::Closed) return Fail(failure, "the server closed the connection during the handshake");
      }
      SecBuffer inBuffers[2] = {{static_cast<unsigned long>(raw_.size()), SECBUFFER_TOKEN, raw_.data()},
                                {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc inDesc{SECBUFFER_VERSION, 2, inBuffers};
      SecBuffer outBuffers[1] = {{0, SECBUFFER_TOKEN, nullptr}};
      SecBufferDesc outDesc{SECBUFFER_VERSION, 1, outBuffers};
      ULONG got = 0;
      TimeStamp expiry;
      const bool start = first && !SecIsValidHandle(&context_);
      const SECURITY_STATUS status = InitializeSecurityContextW(
          &credentials_, start ? nullptr : &context_, const_cast<wchar_t*>(host_.c_str()), wanted, 0, 0,
          start ? nullptr : &inDesc, 0, &context_, &outDesc, &got, &expiry);
      if (outBuffers[0].cbBuffer && outBuffers[0].pvBuffer) {
        const bool sent = socket_->SendAll(static_cast<const char*>(outBuffers[0].pvBuffer), outBuffers[0].cbBuffer);
        FreeContextBuffer(outBuffers[0].pvBuffer);
        if (!sent) return Fail(failure, "the connection broke during the handshake");
      }
      if (status == SEC_E_INCOMPLETE_MESSAGE) {
        needInput = true;
        continue;
      }
      if (!start) {
        // What the call did not take stays for the next one.
        if (inBuffers[1].BufferType == SECBUFFER_EXTRA && inBuffers[1].cbBuffer <= raw_.size())
          raw_.erase(0, raw_.size() - inBuffers[1].cbBuffer);
        else
          raw_.clear();
      }
      if (status == SEC_E_OK) return true;
      if (status == SEC_I_CONTINUE_NEEDED) {
        needInput = raw_.empty();
        first = false;
        continue;
      }
      return Fail(failure, "the TLS handshake failed: " + SystemText(static_cast<DWORD>(status)));
    }
  }

  // Decrypts the whole records in raw_ into plain_; false once the stream is over.
  bool Decrypt() {
    while (!raw_.empty()) {
      SecBuffer buffers[4] = {{static_cast<unsigned long>(raw_.size()), SECBUFFER_DATA, raw_.data()},
                              {0, SECBUFFER_EMPTY, nullptr},
                              {0, SECBUFFER_EMPTY, nullptr},
                              {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
      const SECURITY_STATUS status = DecryptMessage(&context_, &desc, 0, nullptr);
      if (status == SEC_E_INCOMPLETE_MESSAGE) return true;
      if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE) {
        closed_ = true;
        return false;
      }
      std::string extra;
      for (const SecBuffer& b : buffers) {
        if (b.BufferType == SECBUFFER_DATA && b.pvBuffer && b.cbBuffer)
          plain_.append(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
        if (b.BufferType == SECBUFFER_EXTRA && b.pvBuffer && b.cbBuffer)
          extra.assign(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
      }
      raw_ = std::move(extra);
      if (status == SEC_I_RENEGOTIATE) {
        // The server's post-handshake messages go back to the handshake.
        ConnectFailure ignored;
        if (!Handshake(ignored, Clock::now() + milliseconds(10000), false)) {
          closed_ = true;
          return false;
        }
      }
    }
    return true;
  }

  std::unique_ptr<Socket> socket_;
  std::wstring host_;
  CredHandle credentials_;
  CtxtHandle context_;
  SecPkgContext_StreamSizes sizes_{};
  std::string raw_;    // received, not yet decrypted
  std::string plain_;  // decrypted, not yet read
  bool closed_ = false;
  std::mutex writing_;
};

}  // namespace

std::unique_ptr<ByteStream> OpenStream(const StreamTarget& target, ConnectFailure& failure,
                                       std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::unique_ptr<Socket> socket = ConnectTcp(target, failure, deadline);
  if (!socket) return nullptr;
  if (!target.tls) return std::make_unique<TcpStream>(std::move(socket));
  auto tls = std::make_unique<TlsStream>(std::move(socket), Wide(target.host));
  if (!tls->Open(target, failure, deadline)) return nullptr;
  return tls;
}

}  // namespace wf::platform
