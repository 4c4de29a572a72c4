// A small HTTP/1.1 server on 127.0.0.1 for the demo: serves the files of one
// folder and answers form posts to /search. It runs on a thread of its own
// until it is destroyed.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace kovra::cli {

class TDemoServer {
 public:
  // Listens on an ephemeral port of 127.0.0.1; throws std::runtime_error
  // when no socket can be had.
  explicit TDemoServer(std::filesystem::path folder);
  ~TDemoServer();
  TDemoServer(const TDemoServer&) = delete;
  TDemoServer& operator=(const TDemoServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const;

 private:
  void Serve();
  void Handle(int client);

  std::filesystem::path folder_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace kovra::cli
