// TScriptLibrary: the engine's store of per-site scripts, one "*.ks" file
// each in the Scripts folder, read once at load and kept in memory, together
// with the black list (Scripts/BlackList.ini). It answers which script serves
// a page, what a named script declares and runs, and which navigation rules
// cover a page.
//
// Lookups go through an index of the match patterns that is rebuilt after
// any change to the entries, so an edit counts at the next call.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/UnitProcCommonDataTypeLibrary.h"

namespace kovra {

// Script files. Lines may end in CR LF, LF or CR; files are written with CR LF.
TScripts ReadScriptFile(std::string_view bytes);
std::string ComposeScriptFile(const TScripts& entry);
// The line as marker tests see it: leading tabs and spaces gone, A-Z
// lower-cased, every space, tab and NUL removed.
std::string NormalizeLine(std::string_view line);

// A name that can serve as a file name in the Scripts folder: not empty, not
// "." or "..", no path separator, no control character. Empty when it can,
// else the reason.
std::string CheckScriptFileName(std::string_view name);

// What a page run needs of a script.
struct TScriptRunInfo {
  std::u16string declarations;
  std::u16string body;
  bool need_result = false;
  bool result_to_new_page = false;
};

class TScriptLibrary {
 public:
  // Reads base_folder/Scripts/BlackList.ini, then every base_folder/Scripts/*.ks
  // in directory order. Unreadable files give an empty entry; nothing stops
  // the load.
  explicit TScriptLibrary(std::filesystem::path base_folder);
  // A library read from a Scripts folder given directly.
  static std::unique_ptr<TScriptLibrary> FromScriptsFolder(std::filesystem::path scripts_folder);
  ~TScriptLibrary();
  TScriptLibrary(const TScriptLibrary&) = delete;
  TScriptLibrary& operator=(const TScriptLibrary&) = delete;

  const std::filesystem::path& BasePath() const { return base_; }
  const std::filesystem::path& ScriptsFolder() const { return scripts_; }

  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  // The entry with this ID (1 .. Count()), or null.
  const TScripts* Entry(uint32_t id) const;
  // Replaces an entry's name, lists and script; its ID stays.
  void UpdateEntry(uint32_t id, TScripts fields);
  // Appends an empty entry; returns its ID.
  uint32_t AddEntry();
  // Appends the entry read from a file (an empty one when it cannot be read).
  void ImportScriptFile(const std::filesystem::path& path);
  void ImportScriptText(std::string_view bytes);

  // Writes the entry to Scripts/<name>.ks (creating the folder), replacing
  // the file whole or not at all. False with the reason on failure; the
  // entry in memory is not touched either way.
  bool SaveEntry(uint32_t id, std::string_view file_name, std::string* error) const;

  // The first entry, in library order, whose header name equals `name`
  // exactly; false when none does.
  bool GetScriptByName(std::string_view name, TScriptRunInfo& out) const;
  // The header name of the script with the longest match pattern that
  // matches the page (the earlier entry and pattern on equal length), or
  // empty.
  std::string GetAutoScriptName(std::string_view url) const;
  // The first entry, in library order, one of whose URL-match entries covers
  // the page (first matching entry of its list), or null.
  const TScripts* FirstEntryCovering(std::string_view url) const;

  // The black list: lines of the file (empty ones included), then the hosts
  // added since loading.
  const std::vector<std::string>& BlackList() const { return black_list_; }
  bool IsInBlackList(std::string_view url) const;
  // Adds the host of the address in memory, then appends it to the file;
  // false with the reason when the file could not be written.
  bool AddToBlackList(std::string_view url, std::string* error);

 private:
  class TIndex;
  const TIndex& Index() const;
  TScriptLibrary(std::filesystem::path base_folder, std::filesystem::path scripts_folder);

  std::filesystem::path base_;
  std::filesystem::path scripts_;
  std::vector<TScripts> entries_;
  std::vector<uint64_t> stamps_;  // per entry: the generation of its last change
  std::vector<std::string> black_list_;
  uint64_t generation_ = 1;
  mutable std::unique_ptr<TIndex> index_;
};

}  // namespace kovra
