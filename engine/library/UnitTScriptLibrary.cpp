#include "library/UnitTScriptLibrary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unordered_map>

#include "library/ksEditor.h"
#include "platform/CodePage.h"
#include "textlib/UnitUrlFunctions.h"

namespace kovra {

std::string_view EntryValue(std::string_view entry) {
  const size_t bracket = entry.find(']');
  std::string_view value = bracket == std::string_view::npos ? entry : entry.substr(bracket + 1);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  return value;
}

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Lines of a file: CR LF, LF or CR end a line; a final line end opens no
// further line.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string_view SkipLeadingBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  return s.substr(i);
}

// An entry line: key before the first TAB (normalised), value after it with
// leading tabs and spaces removed. False for a line without a TAB.
bool SplitEntryLine(std::string_view line, std::string& key, std::string_view& value) {
  line = SkipLeadingBlanks(line);
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return false;
  key = NormalizeLine(line.substr(0, tab));
  value = SkipLeadingBlanks(line.substr(tab + 1));
  return true;
}

// The line of the first marker `close` after line `from`, or npos.
size_t FindMarker(const std::vector<std::string_view>& lines, size_t from, std::string_view close) {
  for (size_t k = from + 1; k < lines.size(); ++k) {
    if (NormalizeLine(lines[k]) == close) return k;
  }
  return std::string::npos;
}

std::string DisplayEntry(std::string_view kind, int spaces, std::string_view value) {
  std::string out(kind);
  out.append(static_cast<size_t>(spaces), ' ');
  out += value;
  return out;
}

// One entry line as the writer forms it: TAB, kind, separator, value.
void AppendEntryLine(std::string& out, std::string_view entry) {
  out += '\t';
  const size_t bracket = entry.find(']');
  if (bracket == std::string_view::npos) {
    out += '\t';
    const size_t first = entry.find_first_not_of(' ');
    if (first != std::string_view::npos) out += entry.substr(first);
  } else {
    const std::string_view kind = entry.substr(0, bracket + 1);
    out += kind;
    out += kind.size() == 7 ? "\t\t" : "\t";
    out += EntryValue(entry);
  }
  out += kCrLf;
}

void AppendLines(std::string& out, std::string_view text, int count) {
  out += text;
  for (int i = 0; i < count; ++i) out += kCrLf;
}

char FoldByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The whole file, or ok = false when it cannot be opened or read (a folder
// named like the file included).
std::string ReadFileBytes(const std::filesystem::path& path, bool& ok) {
  ok = false;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return {};
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return {};
    ok = true;
    return std::move(buffer).str();
  } catch (const std::exception&) {
    return {};
  }
}

// Writes the bytes to the file through a temporary file beside it, so the
// file is replaced whole or stays as it was.
bool WriteFileWhole(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  const std::filesystem::path temp = path.string() + ".saving";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    if (!out) {
      if (error) *error = "cannot write " + temp.string() + ": " + std::strerror(errno);
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    if (error) *error = "cannot replace " + path.string() + ": " + ec.message();
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

std::string NormalizeLine(std::string_view line) {
  line = SkipLeadingBlanks(line);
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == '\0') continue;
    out += FoldByte(c);
  }
  return out;
}

TScripts ReadScriptFile(std::string_view bytes) {
  TScripts e;
  const std::vector<std::string_view> lines = SplitLines(bytes);
  const size_t n = lines.size();
  bool name_done = false;
  bool url_done = false;
  bool nav_done = false;
  std::string key;
  std::string_view value;
  // A step that hands a line on leaves i on it, so the next step examines
  // the same line.
  for (size_t i = 0; i < n; ++i) {
    const std::string norm = NormalizeLine(lines[i]);
    if (!name_done) {
      if (norm == "[urlmatch]" || norm == "[navigate2set]" || norm == "[script]") {
        name_done = true;
        --i;
      } else if (norm == "[name]") {
        name_done = true;
        ++i;
        while (i < n && NormalizeLine(lines[i]).empty()) ++i;
        if (i < n) e.Name = lines[i];
      }
    } else if (!url_done) {
      if (norm == "[navigate2set]" || norm == "[script]") {
        url_done = true;
        --i;
      } else if (norm == "[urlmatch]") {
        url_done = true;
        const size_t k = FindMarker(lines, i, "[/urlmatch]");
        if (k == std::string::npos) continue;  // the lines after the marker go to the next step
        for (size_t j = i + 1; j < k; ++j) {
          if (!SplitEntryLine(lines[j], key, value)) continue;
          if (key == "[exactmatch]") e.UrlMatch.push_back(DisplayEntry("[Exact Match]", 3, value));
          if (key == "[matchit]") e.UrlMatch.push_back(DisplayEntry("[Match it]", 12, value));
        }
        i = k;
      }
    } else if (!nav_done) {
      if (norm == "[script]") {
        nav_done = true;
        --i;
      } else if (norm == "[navigate2set]") {
        nav_done = true;
        const size_t k = FindMarker(lines, i, "[/navigate2set]");
        if (k == std::string::npos) continue;
        for (size_t j = i + 1; j < k; ++j) {
          if (!SplitEntryLine(lines[j], key, value)) continue;
          if (key == "[exurl]") e.Navigate2Set.push_back(DisplayEntry("[ExUrl]", 3, value));
          if (key == "[allow]") e.Navigate2Set.push_back(DisplayEntry("[Allow]", 3, value));
          if (key == "[filter]") e.Navigate2Set.push_back(DisplayEntry("[Filter]", 4, value));
        }
        i = k;
      }
    } else {
      for (; i < n; ++i) {
        e.Script += lines[i];
        e.Script += kCrLf;
      }
    }
  }
  return e;
}

std::string ComposeScriptFile(const TScripts& entry) {
  std::string out;
  AppendLines(out, "[Name]", 1);
  out += '\t';
  AppendLines(out, entry.Name, 4);
  AppendLines(out, "[Url Match]", 2);
  for (const std::string& e : entry.UrlMatch) AppendEntryLine(out, e);
  AppendLines(out, "", 1);
  AppendLines(out, "[/Url Match]", 4);
  AppendLines(out, "[Navigate2 Set]", 2);
  for (const std::string& e : entry.Navigate2Set) AppendEntryLine(out, e);
  AppendLines(out, "", 1);
  AppendLines(out, "[/Navigate2 Set]", 7);
  AppendLines(out, entry.Script, 1);
  return out;
}

std::string CheckScriptFileName(std::string_view name) {
  if (name.find_first_not_of(' ') == std::string_view::npos) return "the script has no name";
  if (name == "." || name == "..") return "\"" + std::string(name) + "\" cannot be a file name";
  for (unsigned char c : name) {
    if (c == '/' || c == '\\') return "the name \"" + std::string(name) + "\" holds a path separator";
    if (c < 0x20 || c == 0x7F) return "the name holds a control character";
  }
  return {};
}

// ---- The index ------------------------------------------------------------------

namespace {

// Match patterns bucketed by the literal end of their host: a page can only
// match a pattern whose host literal its own host ends with (ASCII case
// ignored). A pattern with no such literal is a candidate for every page.
// Buckets are keyed by a hash of the literal read backwards, so the suffixes
// of a page's host are looked up in one right-to-left pass.
class TSuffixIndex {
 public:
  struct TRef {
    uint32_t entry;
    uint32_t part;
    std::string pattern;
  };

  void Add(uint32_t entry, uint32_t part, std::string pattern) {
    std::string key;
    if (!HostKey(pattern, key)) return;  // an empty pattern host matches nothing
    const uint32_t ref = static_cast<uint32_t>(refs_.size());
    refs_.push_back({entry, part, std::move(pattern)});
    if (key.empty()) {
      unkeyed_.push_back(ref);
      return;
    }
    uint64_t h = kSeed;
    for (size_t i = key.size(); i-- > 0;) h = Step(h, key[i]);
    buckets_[Mix(h, key.size())].push_back(ref);
    max_key_ = std::max(max_key_, key.size());
  }

  // Calls visit(ref) for every pattern that may match the address.
  template <class F>
  void ForCandidates(std::string_view url, F&& visit) const {
    for (uint32_t r : unkeyed_) visit(refs_[r]);
    const size_t end = HostEnd(url);
    if (end == 0 || buckets_.empty()) return;
    uint64_t h = kSeed;
    for (size_t len = 1; len <= end && len <= max_key_; ++len) {
      h = Step(h, FoldByte(url[end - len]));
      if (auto it = buckets_.find(Mix(h, len)); it != buckets_.end()) {
        for (uint32_t r : it->second) visit(refs_[r]);
      }
    }
  }

 private:
  static constexpr uint64_t kSeed = 1469598103934665603ull;
  static uint64_t Step(uint64_t h, char c) { return (h ^ static_cast<unsigned char>(c)) * 1099511628211ull; }
  static uint64_t Mix(uint64_t h, size_t len) { return h ^ (static_cast<uint64_t>(len) * 0x9E3779B97F4A7C15ull); }

  // The end (1-based, inclusive) of the host stretch the matcher compares:
  // from the host start up to before the first '/' or '\' after it.
  static size_t HostEnd(std::string_view s) {
    if (s.empty()) return 0;  // no host: nothing to look up (and no byte to read)
    const int32_t start = HostStart(s);
    size_t i = static_cast<size_t>(start);  // 0-based index of start + 1
    while (i < s.size() && s[i] != '/' && s[i] != '\\') ++i;
    return i;
  }

  // The literal a page's host must end with: the pattern host's characters
  // after its last '*'. A host beginning with "*." also matches the bare
  // domain, so the dot is not required then. False when the pattern can
  // match nothing.
  static bool HostKey(std::string_view p, std::string& key) {
    const size_t host_end = HostEnd(p);
    if (host_end == 0) return false;
    const size_t host_start = static_cast<size_t>(HostStart(p)) - 1;  // 0-based
    const std::string_view host = p.substr(host_start, host_end - host_start);
    const size_t star = host.rfind('*');
    std::string_view literal = star == std::string_view::npos ? host : host.substr(star + 1);
    if (star == 0 && !literal.empty() && literal.front() == '.') literal.remove_prefix(1);
    key.clear();
    for (char c : literal) key += FoldByte(c);
    return true;
  }

  std::vector<TRef> refs_;
  std::vector<uint32_t> unkeyed_;
  std::unordered_map<uint64_t, std::vector<uint32_t>> buckets_;
  size_t max_key_ = 0;
};

}  // namespace

class TScriptLibrary::TIndex {
 public:
  // An entry's header as parsed, kept until the entry changes.
  struct TParsed {
    uint64_t stamp = 0;                // the entry's stamp when it was parsed
    std::string name;                  // header name (8-bit)
    std::vector<std::string> patterns; // header match patterns (8-bit)
    TScriptRunInfo run;                // what a page run needs
  };
  uint64_t generation = 0;
  std::vector<TParsed> parsed;
  std::unordered_map<std::string, uint32_t> first_by_name;
  TSuffixIndex scripts;                    // header match patterns
  TSuffixIndex covers;                     // URL-match entry values
};

TScriptLibrary::TScriptLibrary(std::filesystem::path base_folder)
    : TScriptLibrary(base_folder, base_folder / "Scripts") {}

std::unique_ptr<TScriptLibrary> TScriptLibrary::FromScriptsFolder(std::filesystem::path scripts_folder) {
  std::filesystem::path base = scripts_folder.parent_path();
  return std::unique_ptr<TScriptLibrary>(new TScriptLibrary(std::move(base), std::move(scripts_folder)));
}

TScriptLibrary::TScriptLibrary(std::filesystem::path base_folder, std::filesystem::path scripts_folder)
    : base_(std::move(base_folder)), scripts_(std::move(scripts_folder)) {
  bool ok = false;
  const std::string black = ReadFileBytes(ScriptsFolder() / "BlackList.ini", ok);
  if (ok) {
    for (std::string_view line : SplitLines(black)) black_list_.emplace_back(line);
  }
  std::error_code ec;
  std::filesystem::directory_iterator it(ScriptsFolder(), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::filesystem::path& path = it->path();
    if (path.extension() != ".ks") continue;
    std::error_code type_ec;
    if (std::filesystem::is_directory(path, type_ec)) continue;
    ImportScriptFile(path);
  }
}

TScriptLibrary::~TScriptLibrary() = default;

const TScripts* TScriptLibrary::Entry(uint32_t id) const {
  if (id == 0 || id > entries_.size()) return nullptr;
  return &entries_[id - 1];
}

void TScriptLibrary::UpdateEntry(uint32_t id, TScripts fields) {
  if (id == 0 || id > entries_.size()) return;
  fields.ID = id;
  entries_[id - 1] = std::move(fields);
  stamps_[id - 1] = ++generation_;
}

uint32_t TScriptLibrary::AddEntry() {
  TScripts e;
  e.ID = static_cast<uint32_t>(entries_.size() + 1);
  entries_.push_back(std::move(e));
  stamps_.push_back(++generation_);
  return entries_.back().ID;
}

void TScriptLibrary::ImportScriptFile(const std::filesystem::path& path) {
  bool ok = false;
  const std::string bytes = ReadFileBytes(path, ok);
  ImportScriptText(ok ? std::string_view(bytes) : std::string_view());
}

void TScriptLibrary::ImportScriptText(std::string_view bytes) {
  TScripts e = ReadScriptFile(bytes);
  e.ID = static_cast<uint32_t>(entries_.size() + 1);
  entries_.push_back(std::move(e));
  stamps_.push_back(++generation_);
}

bool TScriptLibrary::SaveEntry(uint32_t id, std::string_view file_name, std::string* error) const {
  const TScripts* e = Entry(id);
  if (e == nullptr) {
    if (error) *error = "no script with ID " + std::to_string(id);
    return false;
  }
  if (std::string problem = CheckScriptFileName(file_name); !problem.empty()) {
    if (error) *error = std::move(problem);
    return false;
  }
  return WriteFileWhole(ScriptsFolder() / (std::string(file_name) + ".ks"), ComposeScriptFile(*e), error);
}

// Rebuilt after any change to the entries; only the entries that changed
// since the last build have their headers parsed again.
const TScriptLibrary::TIndex& TScriptLibrary::Index() const {
  if (index_ && index_->generation == generation_) return *index_;
  auto index = std::make_unique<TIndex>();
  index->generation = generation_;
  if (index_) index->parsed = std::move(index_->parsed);
  index->parsed.resize(entries_.size());
  for (uint32_t i = 0; i < entries_.size(); ++i) {
    TIndex::TParsed& parsed = index->parsed[i];
    const TScripts& e = entries_[i];
    if (parsed.stamp != stamps_[i]) {
      const TScriptHeader header = ParseScriptText(ToWide(e.Script));
      parsed.stamp = stamps_[i];
      parsed.name = ToNarrow(header.Name);
      parsed.patterns.clear();
      for (std::u16string_view pattern : MatchPatterns(header.MatchUrl)) {
        parsed.patterns.push_back(ToNarrow(pattern));
      }
      parsed.run = {header.DefineVariant, header.ScriptContent, header.NeedResult,
                    header.ResultToNewPage};
    }
    index->first_by_name.try_emplace(parsed.name, i);
    for (uint32_t part = 0; part < parsed.patterns.size(); ++part) {
      index->scripts.Add(i, part, parsed.patterns[part]);
    }
    for (uint32_t k = 0; k < e.UrlMatch.size(); ++k) {
      index->covers.Add(i, k, std::string(EntryValue(e.UrlMatch[k])));
    }
  }
  index_ = std::move(index);
  return *index_;
}

bool TScriptLibrary::GetScriptByName(std::string_view name, TScriptRunInfo& out) const {
  out = TScriptRunInfo();
  const TIndex& index = Index();
  const auto it = index.first_by_name.find(std::string(name));
  if (it == index.first_by_name.end()) return false;
  out = index.parsed[it->second].run;
  return true;
}

std::string TScriptLibrary::GetAutoScriptName(std::string_view url) const {
  const TIndex& index = Index();
  const TSuffixIndex::TRef* best = nullptr;
  const TUrlPatternMatcher address(url);
  index.scripts.ForCandidates(url, [&](const TSuffixIndex::TRef& ref) {
    if (best != nullptr) {
      if (ref.pattern.size() < best->pattern.size()) return;
      if (ref.pattern.size() == best->pattern.size() &&
          std::tie(ref.entry, ref.part) > std::tie(best->entry, best->part)) {
        return;
      }
    }
    if (address.Matches(ref.pattern)) best = &ref;
  });
  return best == nullptr ? std::string() : index.parsed[best->entry].name;
}

const TScripts* TScriptLibrary::FirstEntryCovering(std::string_view url) const {
  const TIndex& index = Index();
  const TSuffixIndex::TRef* first = nullptr;
  const TUrlPatternMatcher address(url);
  index.covers.ForCandidates(url, [&](const TSuffixIndex::TRef& ref) {
    if (first != nullptr && std::tie(ref.entry, ref.part) > std::tie(first->entry, first->part)) return;
    if (address.Matches(ref.pattern)) first = &ref;
  });
  return first == nullptr ? nullptr : &entries_[first->entry];
}

bool TScriptLibrary::IsInBlackList(std::string_view url) const {
  const TUrlPatternMatcher address(url);
  return std::any_of(black_list_.begin(), black_list_.end(),
                     [&](const std::string& e) { return address.Matches(e); });
}

bool TScriptLibrary::AddToBlackList(std::string_view url, std::string* error) {
  const std::string host = HostOf(url);
  black_list_.push_back(host);
  std::error_code ec;
  std::filesystem::create_directories(ScriptsFolder(), ec);
  const std::filesystem::path path = ScriptsFolder() / "BlackList.ini";
  // A hand-written last line without a line end gets one first, so the new
  // entry does not run into it.
  bool ok = false;
  const std::string existing = ReadFileBytes(path, ok);
  const bool needs_break = ok && !existing.empty() && existing.back() != '\n' && existing.back() != '\r';
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (out) {
    if (needs_break) out << kCrLf;
    out << host << kCrLf;
    out.flush();
  }
  if (!out) {
    if (error) *error = "cannot write " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace kovra
