// Helpers shared by the script library tests: a temporary folder per test,
// whole-file reads and writes, and host strings and counted lists built the
// way a host runtime lays them out.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "KovraEngine.h"
#include "TestSupport.h"

namespace kovra_test {

// A folder of its own for one test: unique per process and per test, removed
// afterwards.
class TTempDir {
 public:
  TTempDir() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        "kovra_library_core_" + std::to_string(getpid()) + "_" +
        (info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name() : "x") + "_" +
        std::to_string(++counter_);
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTempDir() {
    std::error_code ec;
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Names in a folder, sorted; empty when the folder does not exist.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// True when the permission bits keep this process out (they do not for root).
inline bool PermissionsEnforced(const std::filesystem::path& scratch) {
  std::filesystem::create_directories(scratch);
  std::filesystem::permissions(
      scratch, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool enforced = !std::ofstream(scratch / "probe");
  std::filesystem::permissions(scratch, std::filesystem::perms::owner_all);
  std::filesystem::remove_all(scratch);
  return enforced;
}


// The text of a host string the engine handed out; checks its layout.
inline std::string HostText(const char* s) {
  if (s == nullptr) return {};
  int32_t refcount = 0;
  std::memcpy(&refcount, s - 8, 4);
  EXPECT_EQ(refcount, 1);
  const int32_t length = KovraHostStringLength(s);
  EXPECT_EQ(s[length], '\0');
  return std::string(s, static_cast<size_t>(length));
}

}  // namespace kovra_test
