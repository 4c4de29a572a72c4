#include "CommandRun.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <thread>

#include "CliSupport.h"
#include "CommandLibrary.h"
#include "TerminalPrompt.h"
#include "interpreter/ScriptParsers.h"

namespace kovra::cli {
namespace {

// Sets the stop request when the time is up, unless the run ends first.
class TWatchdog {
 public:
  TWatchdog(std::atomic<bool>& stop, double seconds) {
    if (seconds <= 0) return;
    thread_ = std::thread([this, &stop, seconds] {
      std::unique_lock lock(mutex_);
      const auto limit = std::chrono::duration<double>(seconds);
      if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) stop = true;
    });
  }
  ~TWatchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    done_cv_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

double ParseSeconds(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end == nullptr || *end != '\0' || !(value > 0) || value > 1e9) {
    throw TUsageError("--timeout needs a positive number of seconds, not '" + text + "'");
  }
  return value;
}

}  // namespace

int CommandRun(const std::vector<std::string>& args) {
  std::string encoding_name = "utf-8";
  double timeout = 0;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--encoding" || a == "--timeout") {
      if (i + 1 >= args.size()) throw TUsageError(a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--encoding") {
        encoding_name = value;
      } else {
        timeout = ParseSeconds(value);
      }
    } else if (a.starts_with("--") && a.size() > 2) {
      throw TUsageError("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.empty() || files.size() > 2) throw TUsageError("usage: kovra run SCRIPT [DATA]");
  if (files.size() == 2 && files[0] == "-" && files[1] == "-") {
    throw TUsageError("only one of SCRIPT and DATA can be read from standard input");
  }

  const TTextEncoding encoding(encoding_name);
  const std::u16string script = DecodeScriptFile(ReadInput(files[0]));
  std::u16string data = files.size() == 2 ? encoding.Decode(ReadInput(files[1])) : u"";

  std::atomic<bool> stop{false};
  TRunEnvironment env = CommandEnvironment();
  env.stop = &stop;

  TRunOutcome outcome;
  {
    TWatchdog watchdog(stop, timeout);
    outcome = RunScriptText(script, std::move(data), env);
  }
  const std::string out = encoding.Encode(outcome.text);
  if (outcome.failed) {
    std::cerr << out << "\n";
    return 1;
  }
  std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
  std::cout.flush();
  return 0;
}

}  // namespace kovra::cli
