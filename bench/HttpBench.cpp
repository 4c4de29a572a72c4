// idhttp through the curl client over loopback: a 10 MB page reaching the
// script's "result", and 1,000 small GETs in one run over one kept-alive
// connection. The server is a minimal one of this file, on 127.0.0.1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>

#include "PageGenerator.h"
#include "http/CurlHttpClient.h"
#include "interpreter/ScriptParsers.h"
#include "platform/CodePage.h"

namespace {

// Answers every request on "/big" with the big page and any other with a
// short text; one connection at a time, kept alive.
class TBenchServer {
 public:
  explicit TBenchServer(std::string big) : big_(std::move(big)) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(fd_, 16);
    thread_ = std::thread([this] { Loop(); });
  }
  ~TBenchServer() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }

  std::u16string Url(const char* path) const {
    return kovra::ToWide("http://127.0.0.1:" + std::to_string(port_) + path);
  }
  int Connections() const { return connections_; }

 private:
  bool WaitReadable(int fd) {
    while (!stop_) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void Loop() {
    while (WaitReadable(fd_)) {
      const int c = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (c < 0) continue;
      ++connections_;
      Serve(c);
      close(c);
    }
  }

  void Serve(int c) {
    std::string in;
    char chunk[8192];
    for (;;) {
      size_t end;
      while ((end = in.find("\r\n\r\n")) == std::string::npos) {
        if (!WaitReadable(c)) return;
        const ssize_t n = recv(c, chunk, sizeof chunk, 0);
        if (n <= 0) return;
        in.append(chunk, static_cast<size_t>(n));
      }
      const bool big = in.compare(0, 9, "GET /big ") == 0;
      in.erase(0, end + 4);
      const std::string& body = big ? big_ : small_;
      std::string out =
          "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
          std::to_string(body.size()) + "\r\n\r\n";
      out += body;
      std::string_view rest = out;
      while (!rest.empty()) {
        const ssize_t n = send(c, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        rest.remove_prefix(static_cast<size_t>(n));
      }
    }
  }

  std::string big_;
  std::string small_ = "<html><body>small page</body></html>";
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

kovra::TRunEnvironment CurlEnvironment() {
  kovra::TRunEnvironment env;
  env.http_factory = kovra::MakeCurlHttpClient;
  return env;
}

// A whole run: client made, connection opened, 10 MB fetched and decoded
// into "result".
void BM_LargeBodyToScript(benchmark::State& state) {
  TBenchServer server(kovra::bench::MakePageUtf8(10u << 20));
  const std::u16string script =
      u"[script]idHttp('Get', '" + server.Url("/big") + u"', result);[/script]";
  size_t length = 0;
  for (auto _ : state) {
    const kovra::TRunOutcome out = kovra::RunScriptText(script, u"", CurlEnvironment());
    if (out.failed) state.SkipWithError("the request failed");
    length = out.text.size();
    benchmark::DoNotOptimize(out.text.data());
  }
  state.counters["result_units"] = static_cast<double>(length);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (10 << 20));
}
BENCHMARK(BM_LargeBodyToScript)->Unit(benchmark::kMillisecond);

// One run of 1,000 sequential GETs; the counter shows how many connections
// the server accepted per run.
void BM_ThousandSmallGets(benchmark::State& state) {
  TBenchServer server("");
  const std::u16string script =
      u"var i:integer; s:string; endvar [script]for i := 1 to 1000 do idHttp('Get', '" +
      server.Url("/small") + u"', s);[/script]";
  for (auto _ : state) {
    const kovra::TRunOutcome out = kovra::RunScriptText(script, u"", CurlEnvironment());
    if (out.failed) state.SkipWithError("a request failed");
  }
  state.counters["connections_per_run"] =
      static_cast<double>(server.Connections()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ThousandSmallGets)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
