#include "textlib/UnitUrlFunctions.h"

#include <algorithm>
#include <cstring>

#include "platform/CodePage.h"

namespace kovra {

namespace {

constexpr size_t kNpos = std::string_view::npos;
// The first '/' or '\\' at or after `from`, or npos. A plain loop: the
// library's find_first_of costs a memchr per character.
size_t FindSlash(std::string_view text, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == '/' || text[i] == '\\') return i;
  }
  return std::string_view::npos;
}

bool IsSlash(char c) {
  return c == '/' || c == '\\';
}
char LowerByte(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool SameIgnoringCase(char a, char b) {
  return LowerByte(a) == LowerByte(b);
}

bool EqualIgnoringCase(std::string_view text, std::string_view lower_ascii) {
  if (text.size() != lower_ascii.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (LowerByte(text[i]) != lower_ascii[i]) return false;
  }
  return true;
}

// 1-based inclusive range; empty when it is not wholly inside the text.
std::string_view Range(std::string_view text, int64_t from, int64_t to) {
  const int64_t n = static_cast<int64_t>(text.size());
  if (from < 1 || from > n || to < from || to > n) return text.substr(0, 0);
  return text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
}

// Last 1-based position <= from holding ch; 0 when none.
int64_t FindByteBackward(std::string_view text, int64_t from, char ch) {
  if (from < 1 || text.empty()) return 0;
  const size_t last =
      static_cast<size_t>(std::min<int64_t>(from, static_cast<int64_t>(text.size())));
  const size_t hit = text.rfind(ch, last - 1);
  return hit == kNpos ? 0 : static_cast<int64_t>(hit) + 1;
}

// Last 1-based position of the host stretch that begins at host_start: the
// position before the first slash after the host's first character, or the
// end of the text. 0 for an empty text.
int64_t HostEnd(std::string_view text, int64_t host_start) {
  if (text.empty()) return 0;
  const size_t slash = FindSlash(text, static_cast<size_t>(host_start));
  return slash == kNpos ? static_cast<int64_t>(text.size()) : static_cast<int64_t>(slash);
}

// Folds A-Z to a-z in an 8-bit text of the engine code page. The trail byte
// of a double-byte character belongs to that character and is kept, even
// when it has the value of a letter.
void LowerAsciiBytes(std::string& text) {
  const TCodePage* code_page = nullptr;
  std::u16string probe;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      if (i + 1 == text.size()) break;
      if (code_page == nullptr) code_page = &TCodePage::Engine();
      probe.clear();
      code_page->DecodeAppend(std::string_view(text).substr(i, 2), probe);
      if (probe.size() == 1) ++i;  // the two bytes are one character
    } else if (byte >= 'A' && byte <= 'Z') {
      text[i] = static_cast<char>(byte + 32);
    }
  }
}

bool IsTwoPartSuffixLabel(std::string_view label) {
  return label == "com" || label == "org" || label == "net" || label == "edu" || label == "gov";
}

}  // namespace

int32_t HostStart(std::string_view address) {
  size_t at = 0;
  while (at < address.size() && address[at] != ':' && address[at] != '/' && address[at] != '\\') ++at;
  if (at == address.size()) at = kNpos;
  if (at == kNpos || address[at] != ':') return 1;
  // Only a colon before the first slash counts, and "://" must leave at
  // least two characters after it.
  const int64_t colon = static_cast<int64_t>(at) + 1;
  const int64_t n = static_cast<int64_t>(address.size());
  if (colon < n - 3 && address[at + 1] == '/' && address[at + 2] == '/') {
    return static_cast<int32_t>(colon + 3);
  }
  return 1;
}

std::string_view CutPort(std::string_view text) {
  const size_t colon = text.rfind(':');
  return colon == kNpos ? text : text.substr(0, colon);
}

std::string HostOf(std::string_view address) {
  const int64_t start = HostStart(address);
  const int64_t end = HostEnd(address, start);
  return std::string(CutPort(Range(address, start, end)));
}

std::string MainDomain(std::string_view address) {
  std::string t;
  t.reserve(address.size());
  for (char c : address) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0') t.push_back(c);
  }
  LowerAsciiBytes(t);
  const int64_t n = static_cast<int64_t>(t.size());

  // Only "http://" is taken for a scheme; any other is read as host text.
  int64_t start = t.starts_with("http://") ? 8 : 1;
  int64_t end = n;
  if (start <= n) {
    const size_t slash = FindSlash(t, static_cast<size_t>(start - 1));
    if (slash != kNpos) end = static_cast<int64_t>(slash) + 1;
  }
  if (end >= 1 && IsSlash(t[static_cast<size_t>(end - 1)])) --end;

  const int64_t last_dot = FindByteBackward(t, end - 1, '.');
  if (last_dot > 0) {
    const int64_t dot_before = FindByteBackward(t, last_dot - 1, '.');
    if (dot_before > 0) {
      // A second-level label such as "com" means a two-part suffix
      // (com.cn): the domain then takes one more label.
      if (IsTwoPartSuffixLabel(Range(t, dot_before + 1, last_dot - 1))) {
        const int64_t third_dot = FindByteBackward(t, dot_before - 1, '.');
        if (third_dot > 0) start = third_dot + 1;
      } else {
        start = dot_before + 1;
      }
    }
  }
  return std::string(CutPort(Range(t, start, end)));
}

bool SameMainDomain(std::string_view a, std::string_view b) {
  return MainDomain(a) == MainDomain(b);
}

std::string_view FirstLabel(std::string_view text) {
  return text.substr(0, text.find('.'));
}

bool IsBlankPageUrl(std::string_view address) {
  if (address.empty()) return true;
  const std::string_view word = address.substr(0, address.find(' '));
  if (word.empty()) return true;
  constexpr std::string_view kScript = "javascript:";
  return EqualIgnoringCase(word, "about:blank") ||
         (word.size() >= kScript.size() &&
          EqualIgnoringCase(word.substr(0, kScript.size()), kScript));
}

bool MatchUrlPattern(std::string_view pattern, std::string_view address) {
  return TUrlPatternMatcher(address).Matches(pattern);
}

namespace {

// HostStart and HostEnd together; an address without a scheme (the usual
// pattern) is scanned once.
void HostBounds(std::string_view text, int64_t& start, int64_t& end) {
  size_t at = 0;
  while (at < text.size() && text[at] != ':' && text[at] != '/' && text[at] != '\\') ++at;
  if (at < text.size() && text[at] == ':') {
    start = HostStart(text);
    end = HostEnd(text, start);
    return;
  }
  start = 1;
  if (text.empty()) {
    end = 0;
  } else if (at == 0) {
    end = HostEnd(text, 1);  // a slash first: the host runs to the next one
  } else {
    end = static_cast<int64_t>(at);  // before the first slash, or the whole text
  }
}

}  // namespace

TUrlPatternMatcher::TUrlPatternMatcher(std::string_view address)
    : address_(address), host_end_(HostEnd(address, HostStart(address))) {}

bool TUrlPatternMatcher::Matches(std::string_view pattern) const {
  const std::string_view address = address_;
  const int64_t p_size = static_cast<int64_t>(pattern.size());
  const int64_t u_size = static_cast<int64_t>(address.size());
  auto p_at = [pattern](int64_t i) { return pattern[static_cast<size_t>(i - 1)]; };
  auto u_at = [address](int64_t j) { return address[static_cast<size_t>(j - 1)]; };

  int64_t p_host = 0;
  int64_t p_end = 0;
  HostBounds(pattern, p_host, p_end);
  if (p_end == 0) return false;
  const int64_t u_end = host_end_;
  if (u_end == 0) return false;

  // The host, right to left. The pattern host only has to match the end of
  // the address's host; what lies left of it is not looked at.
  int64_t j = u_end;
  for (int64_t i = p_end; i >= p_host; --i) {
    const char c = p_at(i);
    // "*." at the start of the pattern host: the domain itself or any
    // sub-domain of it.
    if (c == '.' && i == p_host + 1 && p_at(i - 1) == '*') break;
    if (j < 1) return false;
    if (c == '*') {
      if (i <= 1) break;
      const char ch = p_at(i - 1);
      if (ch == '*') continue;
      // A '*' does not run across a '.' unless the character next to it is
      // a '.'; the character that stops it is left for the next comparison.
      while (j >= 1 && !SameIgnoringCase(u_at(j), ch) && !(u_at(j) == '.' && ch != '.')) --j;
      if (j < 1) return false;
      continue;
    }
    if (!SameIgnoringCase(c, u_at(j))) return false;
    --j;
  }

  // The path, left to right: the pattern's path only has to be a prefix of
  // the address's.
  j = u_end + 1;
  for (int64_t i = p_end + 1; i <= p_size; ++i) {
    const char c = p_at(i);
    if (c == '/' && pattern.find_first_not_of('*', static_cast<size_t>(i)) == kNpos) return true;
    if (j > u_size) return false;
    if (c == '*') {
      if (i == p_size) return true;
      const char ch = p_at(i + 1);
      if (ch == '*') continue;
      while (j <= u_size && !SameIgnoringCase(u_at(j), ch) && !(u_at(j) == '.' && ch != '.')) ++j;
      if (j > u_size) return false;
      continue;
    }
    if (!SameIgnoringCase(c, u_at(j))) return false;
    ++j;
  }
  return true;
}

char* CopyToBuffer(char* buffer, std::string_view text) {
  const size_t length = std::min(text.size(), text.find('\0'));
  if (length > 0) std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return buffer;
}

}  // namespace kovra
