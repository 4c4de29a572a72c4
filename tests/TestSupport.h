// Helpers shared by the test programs: readable traces of wide texts, host
// strings and counted lists laid out as a host runtime lays them out, and
// running a program of ours as a shell user would.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kovra_test {

// Printable ASCII as it is, every other code unit as \uXXXX.
inline std::string Show(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

// A host string the test owns: [refcount -1][length][bytes][NUL].
class THostString {
 public:
  explicit THostString(std::string_view text) {
    const int32_t refcount = -1;
    const int32_t length = static_cast<int32_t>(text.size());
    block_.append(reinterpret_cast<const char*>(&refcount), 4);
    block_.append(reinterpret_cast<const char*>(&length), 4);
    block_.append(text);
    block_.push_back('\0');
  }
  const char* get() const { return block_.data() + 8; }

 private:
  std::string block_;
};

// A counted list of host strings: [refcount][count][element pointers...].
class THostList {
 public:
  explicit THostList(const std::vector<std::string>& items) {
    for (const std::string& s : items) strings_.emplace_back(s);
    // 8-byte words keep the elements aligned on every target.
    words_.assign(1 + (strings_.size() * sizeof(const char*) + 7) / 8, 0);
    const int32_t header[2] = {-1, static_cast<int32_t>(strings_.size())};
    std::memcpy(words_.data(), header, sizeof header);
    for (size_t i = 0; i < strings_.size(); ++i) {
      const char* p = strings_[i].get();
      std::memcpy(reinterpret_cast<char*>(words_.data() + 1) + i * sizeof p, &p, sizeof p);
    }
  }
  THostList(const THostList&) = delete;
  THostList& operator=(const THostList&) = delete;
  const char* const* get() const { return reinterpret_cast<const char* const*>(words_.data() + 1); }

 private:
  std::vector<THostString> strings_;
  std::vector<uint64_t> words_;
};

struct TCommandResult {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs a shell command line with `input` on standard input.
inline TCommandResult RunCommand(const std::string& command_line, const std::string& input = "") {
  static int counter = 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("kovra_command_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
  std::filesystem::create_directories(dir);
  const std::filesystem::path in_path = dir / "stdin";
  const std::filesystem::path err_path = dir / "stderr";
  std::ofstream(in_path, std::ios::binary) << input;
  const std::string command = command_line + " <\"" + in_path.string() + "\" 2>\"" + err_path.string() + "\"";
  TCommandResult r;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::ifstream err(err_path, std::ios::binary);
  r.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  std::filesystem::remove_all(dir);
  return r;
}

}  // namespace kovra_test
