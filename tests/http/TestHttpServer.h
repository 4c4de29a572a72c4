// A small HTTP/1.1 server for the client tests: listens on 127.0.0.1 on an
// ephemeral port, answers each request through a handler, records what it
// received, and stops when it is destroyed (every wait is bounded).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace kovra::test {

struct TTestRequest {
  std::string method;   // "GET"
  std::string target;   // "/path?query"
  std::string version;  // "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  int client_port = 0;  // the local port the client connected from

  // The value of the first header of that name (any letter case); empty
  // when there is none.
  std::string Header(std::string_view name) const;
  int HeaderCount(std::string_view name) const;
};

struct TTestResponse {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::string> headers;  // "Name: value"
  std::string body;
  bool hang = false;  // read the request, then never answer
};

class TTestHttpServer {
 public:
  using THandler = std::function<TTestResponse(const TTestRequest&)>;

  explicit TTestHttpServer(THandler handler);
  ~TTestHttpServer();
  TTestHttpServer(const TTestHttpServer&) = delete;
  TTestHttpServer& operator=(const TTestHttpServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(std::string_view path) const;

  std::vector<TTestRequest> Requests() const;
  int Connections() const { return connections_; }

 private:
  void AcceptLoop();
  void Serve(int fd);

  THandler handler_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<TTestRequest> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A loopback port that nothing listens on (bound once, then released).
int ClosedPort();

}  // namespace kovra::test
