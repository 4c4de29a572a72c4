#include "http/TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace kovra::test {
namespace {

constexpr int kPollSliceMs = 20;
// A connection that stays silent this long is closed; a test that needs
// longer is broken anyway.
constexpr auto kIdleLimit = std::chrono::seconds(10);

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

int BoundLoopbackSocket(int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    close(fd);
    throw std::runtime_error("bind failed");
  }
  *port = ntohs(addr.sin_port);
  return fd;
}

// Waits for the socket to become readable: false when the server stops or
// the connection was silent for too long.
bool WaitReadable(int fd, const std::atomic<bool>& stop) {
  const auto deadline = std::chrono::steady_clock::now() + kIdleLimit;
  while (!stop && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    const int n = poll(&p, 1, kPollSliceMs);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
  return false;
}

bool SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Parses the head (request line and header lines, without the blank line).
bool ParseHead(std::string_view head, TTestRequest& r) {
  size_t eol = head.find("\r\n");
  const std::string_view line = head.substr(0, eol);
  const size_t sp1 = line.find(' ');
  const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos) return false;
  r.method = line.substr(0, sp1);
  r.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  r.version = line.substr(sp2 + 1);
  while (eol != std::string_view::npos) {
    const size_t start = eol + 2;
    eol = head.find("\r\n", start);
    const std::string_view h =
        head.substr(start, eol == std::string_view::npos ? eol : eol - start);
    const size_t colon = h.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view value = h.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    r.headers.emplace_back(std::string(h.substr(0, colon)), std::string(value));
  }
  return true;
}

}  // namespace

std::string TTestRequest::Header(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (SameIgnoringCase(n, name)) return v;
  }
  return {};
}

int TTestRequest::HeaderCount(std::string_view name) const {
  int count = 0;
  for (const auto& h : headers) count += SameIgnoringCase(h.first, name) ? 1 : 0;
  return count;
}

TTestHttpServer::TTestHttpServer(THandler handler) : handler_(std::move(handler)) {
  listen_fd_ = BoundLoopbackSocket(&port_);
  if (listen(listen_fd_, 64) != 0) {
    close(listen_fd_);
    throw std::runtime_error("listen failed");
  }
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TTestHttpServer::~TTestHttpServer() {
  stop_ = true;
  acceptor_.join();
  // No new workers after the acceptor ended.
  for (std::thread& t : workers_) t.join();
  close(listen_fd_);
}

std::string TTestHttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<TTestRequest> TTestHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void TTestHttpServer::AcceptLoop() {
  while (!stop_) {
    pollfd p{listen_fd_, POLLIN, 0};
    if (poll(&p, 1, kPollSliceMs) <= 0) continue;
    const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    workers_.emplace_back([this, fd] {
      Serve(fd);
      close(fd);
    });
  }
}

void TTestHttpServer::Serve(int fd) {
  sockaddr_in peer{};
  socklen_t peer_len = sizeof peer;
  getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_len);
  std::string buffer;
  char chunk[65536];
  auto read_more = [&] {
    if (!WaitReadable(fd, stop_)) return false;
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<size_t>(n));
    return true;
  };

  for (;;) {
    size_t head_end;
    while ((head_end = buffer.find("\r\n\r\n")) == std::string::npos) {
      // Anything that does not start like a request line (a TLS hello, for
      // one) gets a plain 400, as real servers answer it.
      if (!buffer.empty() && !(buffer[0] >= 'A' && buffer[0] <= 'Z')) {
        SendAll(fd, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
      }
      if (!read_more()) return;
    }
    TTestRequest request;
    request.client_port = ntohs(peer.sin_port);
    if (!ParseHead(std::string_view(buffer).substr(0, head_end), request)) return;
    const size_t length = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
    buffer.erase(0, head_end + 4);
    while (buffer.size() < length) {
      if (!read_more()) return;
    }
    request.body = buffer.substr(0, length);
    buffer.erase(0, length);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }

    const TTestResponse response = handler_(request);
    if (response.hang) {
      // Holds the connection until the client gives up or the server stops.
      while (read_more()) {
      }
      return;
    }
    const bool close_after =
        request.version != "HTTP/1.1" || SameIgnoringCase(request.Header("Connection"), "close");
    std::string out =
        "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
    for (const std::string& h : response.headers) out += h + "\r\n";
    out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    if (close_after) out += "Connection: close\r\n";
    out += "\r\n";
    if (request.method != "HEAD") out += response.body;
    if (!SendAll(fd, out) || close_after) return;
  }
}

int ClosedPort() {
  int port = 0;
  close(BoundLoopbackSocket(&port));
  return port;
}

}  // namespace kovra::test
