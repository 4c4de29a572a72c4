#include "interpreter/UnitSuperCopy.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kovra {
namespace {

using WView = std::u16string_view;

// One control statement's shape: its two keywords and how each part may end.
// Part n is the text after keyword n; the masks hold bit n for part n.
struct TNestedTemplate {
  std::array<WView, 2> keywords;
  WView else_word;
  int32_t else_count;
  uint32_t else_parts;
  uint32_t unterminated_parts;
  uint32_t block_parts;  // parts that may be a begin ... end block
};

constexpr uint32_t Bit(int n) { return 1u << n; }

constexpr TNestedTemplate kIf{{u"if", u"then"}, u"else", 1, Bit(2), 0, Bit(2)};
constexpr TNestedTemplate kRepeat{{u"repeat", u"until"}, u"", 0, 0, Bit(1), 0};
// The while template's else word never acts: no part of it is else-able.
constexpr TNestedTemplate kWhile{{u"while", u"do"}, u";", 255, 0, Bit(2), Bit(2)};
constexpr TNestedTemplate kFor{{u"for", u"do"}, u"", 0, 0, 0, Bit(2)};

const TNestedTemplate* TemplateFor(WView word) {
  for (const TNestedTemplate* t : {&kIf, &kRepeat, &kWhile, &kFor}) {
    if (t->keywords[0] == word) return t;
  }
  return nullptr;
}

constexpr char16_t kQuoteMark = u'\'';
constexpr WView kBegin = u"begin";
constexpr WView kEnd = u"end";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Keywords are compared with the text lower-cased (A-Z only), so "BEGIN" and
// "Then" count; everything else is compared as it is.
class TMatcher {
 public:
  explicit TMatcher(WView text) : text_(text), n_(static_cast<int32_t>(text.size())) {}

  TCopy_ANResult Match(const TNestedTemplate& t, int32_t start, int32_t depth) {
    TCopy_ANResult result;
    int32_t pos = start;
    int32_t else_left = t.else_count;
    bool after_else = false;

    for (int k = 0; k < 2; ++k) {
      const int part_no = k + 1;
      const WView next_keyword = k == 0 ? t.keywords[1] : WView();
      const bool else_able = (t.else_parts & Bit(part_no)) != 0;
      const bool block_part = (t.block_parts & Bit(part_no)) != 0;

      if (!WordNotTermAt(pos, t.keywords[k])) return result;  // end 0
      int32_t part_start = pos + static_cast<int32_t>(t.keywords[k].size());
      pos = part_start;
      bool emitted = false;
      bool after_block = false;

      for (;;) {
        enum { kElseScan, kPlainScan, kNextKeyword } next;
        int32_t probe = pos;
        if (block_part && WordNotTermAt(probe, kBegin)) {
          part_start = probe + static_cast<int32_t>(kBegin.size());
          int32_t end_at = 0;
          if (!BlockScan(part_start, depth, end_at, result.too_deep)) {
            result.parts.clear();
            result.end = 0;
            return result;
          }
          Emit(result, part_start, end_at - 1);
          pos = end_at + static_cast<int32_t>(kEnd.size());
          part_start = pos;
          emitted = true;
          if (after_else) {
            after_else = false;
            next = else_left != 0 ? kElseScan : kPlainScan;
          } else if (else_able && else_left != 0) {
            next = kElseScan;
            after_block = true;
          } else {
            next = kNextKeyword;
          }
        } else {
          next = (else_able && else_left != 0) ? kElseScan : kPlainScan;
        }

        if (next == kElseScan) {
          const int scan = Scan(t, pos, part_no, next_keyword, true);
          if (scan == -1) return Incomplete(result);
          if (scan == 0) {
            Emit(result, part_start, pos - 1);
            pos += 1;
            break;
          }
          // The else word: after a block, what lies between "end" and "else"
          // is dropped.
          if (!after_block) Emit(result, part_start, pos - 1);
          pos += static_cast<int32_t>(t.else_word.size());
          part_start = pos;
          emitted = false;
          after_block = false;
          --else_left;
          after_else = true;
          continue;  // the else-part, which may itself be a block
        }
        if (next == kPlainScan && !emitted) {
          const int scan = Scan(t, pos, part_no, next_keyword, false);
          if (scan == -1) return Incomplete(result);
          Emit(result, part_start, pos - 1);
          if (scan == 0) pos += 1;  // behind the ';'; on a keyword (2) the position stays
        }
        break;
      }
    }
    result.end = pos;
    return result;
  }

 private:
  char16_t At(int32_t pos) const { return (pos >= 1 && pos <= n_) ? Fold(text_[pos - 1]) : u'\0'; }

  int32_t SkipBlanks(int32_t pos) const {
    while (pos >= 1 && pos <= n_ && IsBlank(text_[pos - 1])) ++pos;
    return pos;
  }

  // The keyword stands at pos (folded) and is followed by a blank, ';' or
  // the end of the text. Nothing is required of the character before it.
  bool WordAt(int32_t pos, WView word) const {
    if (pos < 1) return false;
    const int64_t last = int64_t{pos} + static_cast<int64_t>(word.size()) - 1;
    if (last > n_) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (Fold(text_[pos - 1 + i]) != word[i]) return false;
    }
    if (last == n_) return true;
    const char16_t after = text_[last];
    return IsBlank(after) || after == u';';
  }

  // Skips blanks; a ';' there is no keyword. On a match pos is left at the
  // keyword's first character.
  bool WordNotTermAt(int32_t& pos, WView word) const {
    const int32_t p = SkipBlanks(pos);
    if (At(p) == u';') return false;
    if (!WordAt(p, word)) return false;
    pos = p;
    return true;
  }

  bool NestedStartAt(int32_t pos, const TNestedTemplate*& which) const {
    for (const TNestedTemplate* t : {&kIf, &kRepeat, &kWhile, &kFor}) {
      if (WordAt(pos, t->keywords[0])) {
        which = t;
        return true;
      }
    }
    return false;
  }

  // Passes over a quoted text starting at the opening quote; "''" stays
  // inside. Returns the position behind the closing quote (or n + 1).
  int32_t SkipQuoted(int32_t pos) const {
    ++pos;
    while (pos <= n_) {
      if (text_[pos - 1] == kQuoteMark) {
        if (pos + 1 <= n_ && text_[pos] == kQuoteMark) {
          pos += 2;
          continue;
        }
        return pos + 1;
      }
      ++pos;
    }
    return pos;
  }

  // Plain scan (else_aware false) and else-aware scan of one part: 0 = ';'
  // (or the end of the text for the last part), 1 = else word, 2 = the next
  // keyword, -1 = the text ended before the next keyword. pos is left on
  // what was found.
  int Scan(const TNestedTemplate& t, int32_t& pos, int part_no, WView next_keyword,
           bool else_aware) const {
    const bool terminated = (t.unterminated_parts & Bit(part_no)) == 0;
    pos = SkipBlanks(pos);
    while (pos <= n_) {
      const char16_t c = text_[pos - 1];
      if (c == kQuoteMark) {
        pos = SkipQuoted(pos);
        continue;
      }
      if (else_aware && WordAt(pos, t.else_word)) return 1;
      if (terminated && c == u';') return 0;
      if (!next_keyword.empty() && WordAt(pos, next_keyword)) return 2;
      ++pos;
    }
    return next_keyword.empty() ? 0 : -1;
  }

  // From just behind "begin": finds the "end" that closes the block. Nested
  // control statements are passed over whole; a bare begin ... end pair is
  // not counted, so its "end" closes the outer block. After a nested
  // statement the scan resumes two characters behind its end.
  bool BlockScan(int32_t pos, int32_t depth, int32_t& end_at, bool& too_deep) {
    pos = SkipBlanks(pos);
    while (pos <= n_) {
      if (text_[pos - 1] == kQuoteMark) {
        pos = SkipQuoted(pos);
        continue;
      }
      if (WordAt(pos, kEnd)) {
        end_at = pos;
        return true;
      }
      const TNestedTemplate* nested = nullptr;
      if (NestedStartAt(pos, nested)) {
        if (depth + 1 >= kMaxNesting) {
          too_deep = true;
          return false;
        }
        const TCopy_ANResult inner = Match(*nested, pos, depth + 1);
        if (inner.too_deep) {
          too_deep = true;
          return false;
        }
        if (inner.end > 0) pos = inner.end + 1;
      }
      ++pos;
    }
    return false;
  }

  void Emit(TCopy_ANResult& result, int32_t from, int32_t to) const {
    from = std::max<int32_t>(from, 1);
    to = std::min<int32_t>(to, n_);
    result.parts.push_back(to >= from ? text_.substr(from - 1, to - from + 1) : WView());
    result.count = static_cast<int32_t>(result.parts.size());
  }

  static TCopy_ANResult Incomplete(TCopy_ANResult& result) {
    result.end = -1;
    return std::move(result);
  }

  WView text_;
  int32_t n_;
};

}  // namespace

TCopy_ANResult SuperCopy(std::u16string_view text, int32_t start, std::u16string_view word,
                         int32_t depth) {
  const TNestedTemplate* t = TemplateFor(word);
  if (t == nullptr || start < 1) return {};
  if (depth >= kMaxNesting) {
    TCopy_ANResult result;
    result.too_deep = true;
    return result;
  }
  return TMatcher(text).Match(*t, start, depth);
}

}  // namespace kovra
