// Web addresses taken apart the engine's way: by scanning for ':', '/', '\',
// '.' and '*', not by any standard. The script library and the navigation
// filter rely on exactly this scanning. All routines work on the 8-bit form
// (engine code page); positions are 1-based byte positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovra {

// Where the host begins: just after "://" when a scheme is found, else 1.
int32_t HostStart(std::string_view address);
// The text without its last ':' and everything after it.
std::string_view CutPort(std::string_view text);
// The host without port, case kept.
std::string HostOf(std::string_view address);
// The registrable domain, lower case, without port.
std::string MainDomain(std::string_view address);
bool SameMainDomain(std::string_view a, std::string_view b);
// The text before its first '.', the whole text when there is none.
std::string_view FirstLabel(std::string_view text);
// True for an address that stands for no real page: empty, "about:blank",
// "javascript:...", or one that begins with a space.
bool IsBlankPageUrl(std::string_view address);
// True when the address matches the URL pattern (ASCII case ignored).
bool MatchUrlPattern(std::string_view pattern, std::string_view address);

// MatchUrlPattern for one address against many patterns: the address is
// taken apart once. The address must outlive the matcher.
class TUrlPatternMatcher {
 public:
  explicit TUrlPatternMatcher(std::string_view address);
  bool Matches(std::string_view pattern) const;

 private:
  std::string_view address_;
  int64_t host_end_;
};
// Copies text into buffer up to its length or an inner NUL, then a NUL;
// the buffer holds at least text.size() + 1 bytes. Returns buffer.
char* CopyToBuffer(char* buffer, std::string_view text);

}  // namespace kovra
