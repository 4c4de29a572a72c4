#include "textlib/UnitEngineDeFunction.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace kovra {

namespace {

constexpr size_t kNpos = WView::npos;

int64_t Len(WView text) {
  return static_cast<int64_t>(text.size());
}

// 0-based index where a forward scan from the 1-based `from` begins; a start
// below 1 begins at the first character.
size_t ForwardBegin(int32_t from) {
  return from < 1 ? 0 : static_cast<size_t>(from) - 1;
}

int32_t ToPos(size_t index) {
  return static_cast<int32_t>(index + 1);
}

bool IsAsciiUpper(char16_t c) {
  return static_cast<char16_t>(c - u'A') < 26;
}
bool IsAsciiLower(char16_t c) {
  return static_cast<char16_t>(c - u'a') < 26;
}

void AddAscii(std::array<uint64_t, 2>& bits, char16_t c) {
  bits[c >> 6] |= uint64_t{1} << (c & 63);
}
void DropAscii(std::array<uint64_t, 2>& bits, char16_t c) {
  bits[c >> 6] &= ~(uint64_t{1} << (c & 63));
}
bool HasAscii(const std::array<uint64_t, 2>& bits, char16_t c) {
  return (bits[c >> 6] >> (c & 63)) & 1;
}

// The one-character entries of a text list met before its first empty entry:
// the characters that a text list lets a search skip.
class ListChars {
 public:
  explicit ListChars(const TTextList& list) {
    for (const WStr& entry : list) {
      if (entry.empty()) break;
      if (entry.size() != 1) continue;
      if (entry[0] < 128) {
        AddAscii(ascii_, entry[0]);
      } else {
        others_.push_back(entry[0]);
      }
    }
    std::sort(others_.begin(), others_.end());
  }
  bool Contains(char16_t c) const {
    if (c < 128) return HasAscii(ascii_, c);
    return !others_.empty() && std::binary_search(others_.begin(), others_.end(), c);
  }

 private:
  std::array<uint64_t, 2> ascii_{};
  std::vector<char16_t> others_;
};

// For FindTextSkipping: from a position, where the stretch of characters that
// a try passes over ends (the first character that is not in the list, or is
// the character the try waits for). Long stretches are remembered, so that
// the many tries a text can start never walk the same long stretch twice.
class SkipStretches {
 public:
  SkipStretches(WView text, const ListChars& list) : text_(text), list_(list) {}

  // a is 0-based; the result is the 0-based index of the stopping character,
  // or the text's length when the stretch runs to the end.
  int64_t End(int64_t a, char16_t wanted) {
    const int64_t n = Len(text_);
    const int64_t direct_end = std::min(n, a + kDirect);
    int64_t y = a;
    while (y < direct_end && Skippable(y, wanted)) ++y;
    if (y < direct_end || y == n) return y;

    // Stretches are kept per kind of waited-for character: any character
    // outside the list stops the same stretches, one inside it its own.
    std::map<int64_t, int64_t>& known = KnownFor(list_.Contains(wanted) ? wanted : kOutsideList);
    auto next = known.upper_bound(a);
    if (next != known.begin()) {
      const auto prev = std::prev(next);
      if (a < prev->second) return prev->second;  // prev->first <= a holds
    }
    int64_t end;
    if (next != known.end() && next->first <= y) {
      end = next->second;
      known.erase(next);
    } else {
      const int64_t stop_at = next == known.end() ? n : next->first;
      while (y < stop_at && Skippable(y, wanted)) ++y;
      if (next != known.end() && y == stop_at) {
        end = next->second;
        known.erase(next);
      } else {
        end = y;
      }
    }
    known.emplace(a, end);
    return end;
  }

 private:
  static constexpr int64_t kDirect = 64;
  static constexpr int32_t kOutsideList = -1;

  bool Skippable(int64_t y, char16_t wanted) const {
    const char16_t c = text_[static_cast<size_t>(y)];
    return c != wanted && list_.Contains(c);
  }

  std::map<int64_t, int64_t>& KnownFor(int32_t key) {
    for (auto& [k, stretches] : classes_) {
      if (k == key) return stretches;
    }
    return classes_.emplace_back(key, std::map<int64_t, int64_t>{}).second;
  }

  WView text_;
  const ListChars& list_;
  std::vector<std::pair<int32_t, std::map<int64_t, int64_t>>> classes_;
};

WView CopySpan(WView text, int64_t start, int64_t count) {
  const int64_t n = Len(text);
  if (start < 1 || start > n || count < 1 || start + count - 1 > n) return text.substr(0, 0);
  return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

template <class Pred>
WView TrimBoth(WView text, Pred is_trimmed) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && is_trimmed(text[first])) ++first;
  while (last > first && is_trimmed(text[last - 1])) --last;
  return text.substr(first, last - first);
}

template <class Pred>
WStr RemoveIf(WView text, Pred drop) {
  WStr out;
  out.reserve(text.size());
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (drop(text[i])) {
      out.append(text.substr(run, i - run));
      run = i + 1;
    }
  }
  out.append(text.substr(run));
  return out;
}

bool IsListed(char16_t c, std::initializer_list<char16_t> chars) {
  return std::find(chars.begin(), chars.end(), c) != chars.end();
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

// ---- TCharSet ------------------------------------------------------------

TCharSet::TCharSet() {
  slots_.fill(kNoChar);
  Rebuild();
}

TCharSet::TCharSet(std::initializer_list<char16_t> members) {
  slots_.fill(kNoChar);
  size_t i = 0;
  for (char16_t c : members) {
    if (i == slots_.size()) break;
    slots_[i++] = c;
  }
  Rebuild();
}

void TCharSet::SetSlot(int index, char16_t ch) {
  if (index < 0 || index >= kSlots || slots_[index] == ch) return;
  const char16_t old = slots_[index];
  slots_[index] = ch;
  if (ch < 128) {
    AddAscii(ascii_bits_, ch);
  } else {
    const auto at = std::lower_bound(others_.begin(), others_.end(), ch);
    if (at == others_.end() || *at != ch) others_.insert(at, ch);
  }
  if (std::find(slots_.begin(), slots_.end(), old) != slots_.end()) return;
  if (old < 128) {
    DropAscii(ascii_bits_, old);
  } else {
    others_.erase(std::lower_bound(others_.begin(), others_.end(), old));
  }
}

bool TCharSet::Contains(char16_t ch) const {
  if (ch < 128) return HasAscii(ascii_bits_, ch);
  return !others_.empty() && std::binary_search(others_.begin(), others_.end(), ch);
}

void TCharSet::Rebuild() {
  ascii_bits_ = {};
  others_.clear();
  for (char16_t c : slots_) {
    if (c < 128) {
      AddAscii(ascii_bits_, c);
    } else {
      others_.push_back(c);
    }
  }
  std::sort(others_.begin(), others_.end());
  others_.erase(std::unique(others_.begin(), others_.end()), others_.end());
}

// ---- Searches -------------------------------------------------------------

int32_t FindChar(WView text, int32_t from, char16_t ch) {
  const size_t begin = ForwardBegin(from);
  if (begin >= text.size()) return 0;
  const size_t hit = text.find(ch, begin);
  return hit == kNpos ? 0 : ToPos(hit);
}

int32_t FindCharInSet(WView text, int32_t from, const TCharSet& set) {
  for (size_t i = ForwardBegin(from); i < text.size(); ++i) {
    if (set.Contains(text[i])) return ToPos(i);
  }
  return 0;
}

int32_t FindCharNotInSet(WView text, int32_t from, const TCharSet& set) {
  for (size_t i = ForwardBegin(from); i < text.size(); ++i) {
    if (!set.Contains(text[i])) return ToPos(i);
  }
  return 0;
}

int32_t FindCharBackward(WView text, int32_t from, char16_t ch) {
  if (from < 1 || text.empty()) return 0;
  const size_t last = std::min(static_cast<size_t>(from), text.size()) - 1;
  const size_t hit = text.rfind(ch, last);
  return hit == kNpos ? 0 : ToPos(hit);
}

int32_t SkipCharForward(WView text, char16_t ch) {
  const size_t hit = text.find_first_not_of(ch);
  return hit == kNpos ? ToPos(text.size()) : ToPos(hit);
}

int32_t SkipCharBackward(WView text, char16_t ch) {
  const size_t hit = text.find_last_not_of(ch);
  return hit == kNpos ? 0 : ToPos(hit);
}

int32_t FindText(WView text, int32_t from, WView sub, bool at_start) {
  const int64_t n = Len(text);
  const int64_t m = Len(sub);
  if (m == 0 || from < 1 || n < from + m - 1 || n < from) return 0;
  size_t j = static_cast<size_t>(from) - 1;
  for (;;) {
    j = text.find(sub[0], j);
    if (j == kNpos) return 0;
    size_t k = 1;
    ++j;
    while (k < sub.size() && j < text.size() && text[j] == sub[k]) {
      ++j;
      ++k;
    }
    if (k == sub.size()) {
      return at_start ? static_cast<int32_t>(j - sub.size() + 1) : ToPos(j);
    }
    // The character that broke a partial match is not tried as the start of
    // a new one: the scan goes on after it. Stored scripts rely on this.
    if (j >= text.size()) return 0;
    ++j;
  }
}

TMatchSpan FindTextSkipping(WView text, int32_t from, WView sub, const TTextList& ignorable) {
  const int64_t n = Len(text);
  const int64_t m = Len(sub);
  if (n == 0 || m == 0) return {};
  int64_t p = from < 1 ? 0 : int64_t{from} - 1;  // 0-based
  if (p >= n) return {};
  if (m == 1) {
    // A one-character sub sets the start but is never completed.
    const size_t hit = text.find(sub[0], static_cast<size_t>(p));
    return {hit == kNpos ? 0 : ToPos(hit), 0};
  }

  const ListChars list(ignorable);
  SkipStretches stretches(text, list);
  int64_t start = 0;  // 1-based, 0 while no first character is held
  while (p < n) {
    if (start == 0) {
      const size_t hit = text.find(sub[0], static_cast<size_t>(p));
      if (hit == kNpos) return {};
      start = static_cast<int64_t>(hit) + 1;
      p = start;  // completion begins right after the first character
      continue;
    }
    // One try to complete the occurrence from p. It ends in a match, a
    // failure (start is dropped), or at the end of the text, in which case
    // the next position is tried with start kept.
    int64_t x = p;
    size_t k = 1;
    bool failed = false;
    while (x < n) {
      const char16_t c = text[static_cast<size_t>(x)];
      if (c == sub[k]) {
        if (k + 1 == sub.size()) return {static_cast<int32_t>(start), static_cast<int32_t>(x + 1)};
        ++k;
        ++x;
      } else if (list.Contains(c)) {
        x = stretches.End(x + 1, sub[k]);
      } else {
        failed = true;
        break;
      }
    }
    if (failed) start = 0;
    ++p;
  }
  return {static_cast<int32_t>(start), 0};
}

TListHit FindAnyTextAt(WView text, int32_t from, const TTextList& list) {
  const int64_t n = Len(text);
  if (from > n) return {};
  const size_t begin = ForwardBegin(from);
  size_t best = kNpos;  // 0-based start of the best hit so far
  int32_t best_index = -1;
  for (size_t k = 0; k < list.size() && !list[k].empty(); ++k) {
    const WView entry = list[k];
    // Only a hit that begins before the best one so far can win; at the
    // same position the earlier entry wins.
    size_t window = text.size();
    if (best != kNpos) {
      if (best == begin) break;
      window = std::min(text.size(), best - 1 + entry.size());
    }
    const size_t hit = text.substr(0, window).find(entry, begin);
    if (hit != kNpos) {
      best = hit;
      best_index = static_cast<int32_t>(k + 1);
    }
  }
  if (best == kNpos) return {};
  return {best_index, ToPos(best)};
}

TMatchSpan WildFind(WView text, WView pattern, int32_t from) {
  if (pattern.empty() || text.empty()) return {};
  const size_t first_literal = pattern.find_first_not_of(u'*');
  if (first_literal == kNpos) return {};
  const int64_t n = Len(text);
  const size_t m = pattern.size();

  // An attempt fails (and the next begins one past its start) only when a
  // literal after a jump differs. Attempts from later starts reach every
  // jump at a later or equal position, so an attempt whose jump would land
  // where a failed attempt's jump landed must fail the same way: landing[k]
  // keeps, for the '*' at pattern index k, where the last attempt landed.
  constexpr size_t kInlineLandings = 64;
  std::array<int64_t, kInlineLandings> inline_landing;
  std::vector<int64_t> heap_landing;
  int64_t* landing = nullptr;
  auto landing_at = [&](size_t k) -> int64_t& {
    if (landing == nullptr) {
      if (m <= kInlineLandings) {
        inline_landing.fill(0);
        landing = inline_landing.data();
      } else {
        heap_landing.assign(m, 0);
        landing = heap_landing.data();
      }
    }
    return landing[k];
  };

  int64_t pos = from;  // 1-based throughout
  for (;;) {
    const int64_t start = FindChar(text, static_cast<int32_t>(std::min<int64_t>(pos, INT32_MAX)),
                                   pattern[first_literal]);
    if (start == 0) return {};
    pos = start;
    size_t k = first_literal + 1;
    if (k >= m) return {static_cast<int32_t>(start), static_cast<int32_t>(start)};
    bool mismatch = false;
    while (!mismatch) {
      if (pattern[k] == u'*') {
        ++k;
        // A trailing '*' adds nothing to the match.
        if (k >= m) return {static_cast<int32_t>(start), static_cast<int32_t>(pos)};
        // The character after '*' is looked for literally, even a '*'.
        int64_t& landed = landing_at(k - 1);
        if (pos < landed) {
          mismatch = true;
          break;
        }
        const int32_t next = FindChar(text, static_cast<int32_t>(pos + 1), pattern[k]);
        if (next == 0) return {static_cast<int32_t>(start), 0};
        pos = next;
        landed = next;
        ++k;
      } else {
        ++pos;
        if (pos > n) return {static_cast<int32_t>(start), 0};
        if (text[static_cast<size_t>(pos - 1)] != pattern[k]) {
          mismatch = true;
          break;
        }
        ++k;
      }
      if (k >= m) return {static_cast<int32_t>(start), static_cast<int32_t>(pos)};
    }
    // No backtracking into a '*': the whole attempt starts over.
    pos = start + 1;
  }
}

bool IsTextAt(WView text, int32_t pos, WView sub) {
  if (pos < 1 || int64_t{pos} - 1 + Len(sub) > Len(text)) return false;
  return text.substr(static_cast<size_t>(pos) - 1, sub.size()) == sub;
}

bool TextInList(WView text, const TTextList& list) {
  for (const WStr& entry : list) {
    if (entry.empty()) return false;
    if (entry == text) return true;
  }
  return false;
}

// ---- Copies ---------------------------------------------------------------

WView CopyCount(WView text, int32_t start, int32_t count) {
  return CopySpan(text, start, count);
}

WView CopyRange(WView text, int32_t from, int32_t to) {
  return CopySpan(text, from, int64_t{to} - from + 1);
}

WView CopyBetween(WView text, int32_t from, WView mark1, WView mark2) {
  const int32_t p = FindTextEnd(text, from, mark1);
  const int32_t q = FindTextStart(text, p, mark2);
  return CopySpan(text, p, int64_t{q} - 1 - p + 1);
}

// ---- Trims and removals -----------------------------------------------------

WView TrimSpaces(WView text) {
  return TrimBoth(text, [](char16_t c) { return c == kSpace; });
}

WView TrimLineBreaks(WView text) {
  return TrimBoth(text, [](char16_t c) { return c == kLf || c == kNul || c == kCr; });
}

WView TrimBlanks(WView text) {
  return TrimBoth(text, [](char16_t c) {
    return c == kNul || c == kSpace || c == kTab || c == kLf || c == kCr;
  });
}

WView TrimLeftSpaces(WView text) {
  const int64_t a = SkipCharForward(text, kSpace);
  return CopySpan(text, a, Len(text) - a + 1);
}

WView TrimRightSpaces(WView text) {
  return CopySpan(text, 1, SkipCharBackward(text, kSpace));
}

WView StripPair(WView text, char16_t open, char16_t close) {
  if (text.size() >= 2 && text.front() == open && text.back() == close) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

WStr RemoveChars(WView text, std::initializer_list<char16_t> chars) {
  return RemoveIf(text, [chars](char16_t c) { return IsListed(c, chars); });
}

WStr RemoveChars(WView text, const TCharSet& set) {
  return RemoveIf(text, [&set](char16_t c) { return set.Contains(c); });
}

WStr RemoveSpaces(WView text) {
  return RemoveChars(text, {kSpace});
}
WStr RemoveTabs(WView text) {
  return RemoveChars(text, {kTab});
}
WStr RemoveLineBreaks(WView text) {
  return RemoveChars(text, {kCr, kLf});
}

WStr NormalizeWord(WView text) {
  WStr word = RemoveChars(text, {kNul, kCr, kLf});
  const WView trimmed = TrimSpaces(word);
  const size_t lead = static_cast<size_t>(trimmed.data() - word.data());
  word.erase(lead + trimmed.size());
  word.erase(0, lead);
  LowerAsciiInPlace(word);
  return word;
}

// ---- Case, numbers, tests -----------------------------------------------------

WStr LowerAscii(WView text) {
  WStr out(text);
  LowerAsciiInPlace(out);
  return out;
}

WStr UpperAscii(WView text) {
  WStr out(text);
  for (char16_t& c : out) {
    if (IsAsciiLower(c)) c = static_cast<char16_t>(c - 32);
  }
  return out;
}

void LowerAsciiInPlace(WStr& text) {
  for (char16_t& c : text) {
    if (IsAsciiUpper(c)) c = static_cast<char16_t>(c + 32);
  }
}

WStr IntToText(int32_t value) {
  WStr out;
  AppendInt(out, value);
  return out;
}

void AppendInt(WStr& out, int32_t value) {
  char16_t digits[11];
  size_t at = std::size(digits);
  uint32_t rest = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[--at] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) digits[--at] = u'-';
  out.append(digits + at, std::size(digits) - at);
}

int32_t ParseInteger(WView text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == kSpace) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  if (i >= n) return 0;

  size_t hex_digits = kNpos;
  if (text[i] == u'$' || text[i] == u'x' || text[i] == u'X') {
    hex_digits = i + 1;
  } else if (text[i] == u'0' && i + 1 < n && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex_digits = i + 2;
  }
  if (hex_digits != kNpos) {
    const size_t count = n - hex_digits;
    if (count == 0 || count > 8) return 0;
    uint32_t value = 0;
    for (size_t j = hex_digits; j < n; ++j) {
      const int digit = HexValue(text[j]);
      if (digit < 0) return 0;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    // Eight digits fill all 32 bits: a value above 7FFFFFFF reads as negative.
    return static_cast<int32_t>(negative ? 0u - value : value);
  }

  constexpr uint64_t kMagnitudeLimit = uint64_t{1} << 31;  // |INT32_MIN|
  uint64_t value = 0;
  for (size_t j = i; j < n; ++j) {
    const char16_t c = text[j];
    if (c < u'0' || c > u'9') return 0;
    value = value * 10 + (c - u'0');
    if (value > kMagnitudeLimit) return 0;
  }
  if (negative) return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
  return value < kMagnitudeLimit ? static_cast<int32_t>(value) : 0;
}

bool IsIntegerText(WView text) {
  if (!text.empty() && text[0] == u'-') text.remove_prefix(1);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool IsQuotedLiteral(WView text) {
  if (text.empty() || text[0] != kQuote) return false;
  size_t i = 1;
  while (i < text.size()) {
    if (text[i] == kQuote) {
      if (i + 1 == text.size()) return true;
      // A doubled quote is passed over as one unit; a single one inside is
      // passed over too.
      i += text[i + 1] == kQuote ? 2 : 1;
    } else {
      ++i;
    }
  }
  return false;
}

bool SplitText(WView text, std::span<const WView> separators, const TBrackets* brackets,
               WView quote_open, WView quote_close, WView quote_escape, TSplitResult& out) {
  // The scan reads the text trimmed of spaces with A-Z folded to a-z; parts
  // are cut from the same trimmed stretch with the case kept.
  const WView work = TrimSpaces(text);
  if (work.empty()) return false;
  out.parts.clear();
  out.separators.clear();

  const size_t n = work.size();
  auto occurs = [work, n](size_t at, WView what) {
    if (what.size() > n - at) return false;
    for (size_t j = 0; j < what.size(); ++j) {
      if (LowerAsciiChar(work[at + j]) != what[j]) return false;
    }
    return true;
  };
  // An empty open text would count brackets forever without moving on.
  const bool counting = brackets != nullptr && !brackets->open.empty();

  size_t i = 0;
  size_t part_start = 0;
  bool in_quote = false;
  uint64_t depth = 0;
  while (i < n) {
    if (in_quote) {
      if (occurs(i, quote_close)) {
        const size_t before = i;
        i += quote_close.size();
        if (occurs(i, quote_escape)) {
          i += quote_escape.size();
          // With empty close and escape texts the quote stays open to the
          // end; step on so that the scan still reaches it.
          if (i == before) ++i;
        } else {
          in_quote = false;
        }
      } else {
        ++i;
      }
    } else if (!quote_open.empty() && occurs(i, quote_open)) {
      i += quote_open.size();
      in_quote = true;
    } else if (counting && occurs(i, brackets->open)) {
      i += brackets->open.size();
      ++depth;
    } else if (counting && depth > 0) {
      if (occurs(i, brackets->close)) {
        i += brackets->close.size();
        --depth;
      } else {
        ++i;
      }
    } else {
      bool split = false;
      for (const WView separator : separators) {
        if (separator.empty() || !occurs(i, separator)) continue;
        out.parts.push_back(work.substr(part_start, i - part_start));
        out.separators.push_back(separator);
        i += separator.size();
        part_start = i;
        split = true;
        break;
      }
      if (!split) ++i;
    }
  }
  // A text that ends with a separator has no empty last part.
  if (part_start < n) {
    out.parts.push_back(work.substr(part_start));
    out.separators.push_back(WView());
  }
  return true;
}

// ---- Argument conversions -------------------------------------------------------

WView NormArg(WView argument) {
  return StripQuotes(TrimSpaces(TrimLineBreaks(argument)));
}

int32_t ArgToInt(WView argument) {
  return ParseInteger(NormArg(argument));
}

bool ArgToBool(WView argument) {
  const WView value = NormArg(argument);
  constexpr WView kTrue = u"true";
  if (value.size() != kTrue.size()) return false;
  for (size_t i = 0; i < kTrue.size(); ++i) {
    if (LowerAsciiChar(value[i]) != kTrue[i]) return false;
  }
  return true;
}

char16_t ArgToChar(WView argument) {
  const WView value = NormArg(argument);
  return value.size() == 1 ? value[0] : kNoChar;
}

namespace {

// Members of a set or list argument: 'a'+'b'+..., split at '+' outside quotes.
bool SplitMembers(WView argument, TSplitResult& parts) {
  static constexpr WView kPlus[] = {u"+"};
  return SplitText(argument, kPlus, nullptr, u"'", u"'", u"''", parts);
}

}  // namespace

TCharSet ArgToCharSet(WView argument) {
  TCharSet set;
  TSplitResult parts;
  if (!SplitMembers(argument, parts)) return set;
  const size_t used = std::min<size_t>(parts.parts.size(), TCharSet::kSlots);
  for (size_t i = 0; i < used; ++i) {
    // A part that is not exactly one character leaves its slot free.
    const WView member = NormArg(parts.parts[i]);
    if (member.size() == 1) set.SetSlot(static_cast<int>(i), member[0]);
  }
  return set;
}

TTextList ArgToTextList(WView argument) {
  TTextList list;
  TSplitResult parts;
  if (!SplitMembers(argument, parts)) return list;
  constexpr size_t kEntries = 255;
  const size_t used = std::min(parts.parts.size(), kEntries);
  for (size_t i = 0; i < used; ++i) {
    // An empty member ends the list for every reader.
    const WView entry = NormArg(parts.parts[i]);
    if (entry.empty()) break;
    list.emplace_back(entry);
  }
  return list;
}

std::vector<WView> SplitTextLines(WView text) {
  std::vector<WView> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace kovra
