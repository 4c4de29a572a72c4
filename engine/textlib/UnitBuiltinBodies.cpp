#include "textlib/UnitBuiltinBodies.h"

#include <algorithm>
#include <bitset>

namespace kovra {

namespace {

constexpr size_t kNpos = WView::npos;

// Positions arrive straight from scripts; the last position that a backward
// scan from `from` may look at (0-based index + 1), or 0 when there is none.
int64_t BackwardStart(WView text, int32_t from) {
  return std::min<int64_t>(from, static_cast<int64_t>(text.size()));
}

void AppendRange(WStr& out, WView text, int64_t from, int64_t to) {
  // from..to are 1-based and inclusive; callers keep them inside the text.
  if (to >= from)
    out.append(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
}

}  // namespace

int32_t FindTextBackward(WView text, int32_t from, WView sub) {
  const int64_t last = BackwardStart(text, from);
  const int64_t m = static_cast<int64_t>(sub.size());
  if (m == 0 || last < m) return 0;
  // The occurrence must end at or before `last`, i.e. begin at or before last - m.
  const size_t hit = text.rfind(sub, static_cast<size_t>(last - m));
  return hit == kNpos ? 0 : static_cast<int32_t>(hit + 1);
}

int32_t FindAnyTextBackward(WView text, int32_t from, const TTextList& list) {
  size_t used = 0;
  while (used < list.size() && !list[used].empty()) ++used;
  if (used == 0) return 0;
  // Only positions holding the last character of some entry can end a match;
  // the filter keeps the scan at one test per character for most text.
  std::bitset<256> last_chars;
  for (size_t k = 0; k < used; ++k) last_chars.set(list[k].back() & 0xFF);
  for (int64_t i = BackwardStart(text, from); i >= 1; --i) {
    const char16_t ch = text[static_cast<size_t>(i - 1)];
    if (!last_chars.test(ch & 0xFF)) continue;
    for (size_t k = 0; k < used; ++k) {
      const WView entry = list[k];
      const int64_t m = static_cast<int64_t>(entry.size());
      if (i >= m && entry.back() == ch &&
          text.substr(static_cast<size_t>(i - m), static_cast<size_t>(m)) == entry) {
        return static_cast<int32_t>(i - m + 1);
      }
    }
  }
  return 0;
}

int32_t FindTextNth(WView text, WView sub, int32_t count) {
  if (count < 1) return 0;
  // A pass that finds nothing leaves b at 0, the state the count started
  // from, so the passes repeat with that period. Reducing the count by it
  // keeps a huge count from scanning the text billions of times.
  int64_t remaining = count;
  int64_t passes = 0;
  bool reduced = false;
  int32_t b = 0;
  while (remaining > 0) {
    b = FindTextEnd(text, b + 1, sub);
    --remaining;
    ++passes;
    if (b == 0 && !reduced) {
      remaining %= passes;
      reduced = true;
    }
  }
  return b > 0 ? static_cast<int32_t>(b - static_cast<int64_t>(sub.size())) : 0;
}

WView CopyBetweenMatches(WView text, int32_t from, WView pattern1, WView pattern2) {
  const TMatchSpan first = WildFind(text, pattern1, from);
  if (first.end == 0) return {};
  const TMatchSpan second = WildFind(text, pattern2, first.end + 1);
  if (second.end == 0) return {};
  return CopyCount(text, first.end + 1, second.start - first.end - 1);
}

TSkippingCopy CopyBetweenSkipping(WView text, int32_t from, WView mark1, WView mark2,
                                  const TTextList& ignorable) {
  TSkippingCopy out;
  TMatchSpan span = FindTextSkipping(text, from, mark1, ignorable);
  out.first = span.start;
  out.last = span.end;
  if (span.end == 0) return out;
  const int32_t p = span.end + 1;
  span = FindTextSkipping(text, p, mark2, ignorable);
  out.first = span.start;
  out.last = span.end;
  if (span.end == 0) return out;
  out.result = CopyRange(text, p, span.start - 1);
  out.last = span.start;
  out.first = p;
  return out;
}

WStr ExchangeText(WView text, int32_t from, int32_t to, WView old_text, WView new_text) {
  const int64_t n = static_cast<int64_t>(text.size());
  // Only a range that starts at 1 is worked on. A from below 1 would read
  // before the text, an empty old_text would never advance: both leave the
  // text as it is.
  if (from != 1 || to > n) return WStr(text);
  if (to < 1) return {};
  if (old_text.empty()) return WStr(text);
  const size_t m = old_text.size();
  const size_t limit = static_cast<size_t>(to);  // occurrences must begin before this index
  // Nothing beyond an occurrence that begins at to - 1 (0-based) is needed.
  const WView searched = text.substr(0, std::min(text.size(), limit - 1 + m));
  WStr out;
  out.reserve(limit);
  size_t p = 0;
  while (p < limit) {
    const size_t hit = searched.find(old_text, p);
    if (hit == kNpos || hit >= limit) {
      out.append(text.substr(p, limit - p));
      break;
    }
    out.append(text.substr(p, hit - p));
    out.append(new_text);
    p = hit + m;
  }
  return out;
}

namespace {

// The text with every stretch that find_next(pos) reports, from `from` on,
// cut out; the search goes on behind each cut, so text that comes together
// through a cut is not searched again. The result is built from CopyRange
// pieces, which are empty for ranges that leave the text: so is the whole
// result for a from below 1 or beyond length + 1.
template <class FindNext>
WStr RemoveFound(WView text, int32_t from, FindNext find_next) {
  const int64_t n = static_cast<int64_t>(text.size());
  if (from < 1 || from > n + 1) return {};
  WStr out;
  out.reserve(text.size());
  AppendRange(out, text, 1, from - 1);
  int64_t pos = from;
  for (TMatchSpan span = find_next(from); span.end > 0; span = find_next(static_cast<int32_t>(pos))) {
    if (span.end < pos) break;  // a match must lie at or after pos, or the loop would not advance
    AppendRange(out, text, pos, span.start - 1);
    pos = static_cast<int64_t>(span.end) + 1;
  }
  AppendRange(out, text, pos, n);
  return out;
}

}  // namespace

WStr RemoveOccurrences(WView text, int32_t from, WView sub) {
  const int32_t m = static_cast<int32_t>(sub.size());
  return RemoveFound(text, from, [&](int32_t pos) -> TMatchSpan {
    const int32_t b = m > 0 ? FindTextStart(text, pos, sub) : 0;
    return b > 0 ? TMatchSpan{b, b + m - 1} : TMatchSpan{};
  });
}

WStr RemoveMatches(WView text, int32_t from, WView pattern) {
  return RemoveFound(text, from, [&](int32_t pos) { return WildFind(text, pattern, pos); });
}

WStr RemoveTags(WView text) {
  // "<*>" matches a '<' and the first '>' after it; scanning for the two
  // characters directly keeps trimhtm at memory speed on large pages.
  WStr out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find(u'<', pos);
    if (open == kNpos) break;
    const size_t close = text.find(u'>', open + 1);
    if (close == kNpos) break;
    out.append(text.substr(pos, open - pos));
    pos = close + 1;
  }
  if (pos < text.size()) out.append(text.substr(pos));
  return out;
}

}  // namespace kovra
