// Text primitives shared by the whole engine: searches, copies, trims,
// splitting, the wildcard matcher, integer reading, and the conversions by
// which a built-in function reads its argument texts.
//
// Texts are wide (UTF-16 code units); a character is one code unit.
// Positions are 1-based and 0 means "not found" unless a routine says
// otherwise. Routines whose result is a piece of their input return a view
// into that input: the view is valid as long as the input is.
// Nothing here keeps state, reports errors or reads outside its input:
// out-of-range requests give an empty text, 0 or false.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

using WStr = std::u16string;
using WView = std::u16string_view;

inline constexpr char16_t kNul = u'\0';
inline constexpr char16_t kTab = u'\t';
inline constexpr char16_t kLf = u'\n';
inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kSpace = u' ';
inline constexpr char16_t kQuote = u'\'';
inline constexpr char16_t kNoChar = u'\x01';  // what a character argument that is not one character reads as

// A match (start, end), end inclusive; end 0 = no complete match (start may
// still hold where an incomplete attempt began).
struct TMatchSpan {
  int32_t start = 0;
  int32_t end = 0;
  bool operator==(const TMatchSpan&) const = default;
};

// A 255-slot character set as scripts write it ('a'+'b'+...). Unfilled slots
// hold U+0001, so U+0001 is a member whenever a slot is free.
class TCharSet {
 public:
  static constexpr int kSlots = 255;
  TCharSet();
  explicit TCharSet(std::initializer_list<char16_t> members);  // fills slots from 1 in order

  void SetSlot(int index, char16_t ch);  // index 0..254
  char16_t Slot(int index) const { return slots_[index]; }
  bool Contains(char16_t ch) const;

 private:
  std::array<char16_t, kSlots> slots_;
  std::array<uint64_t, 2> ascii_bits_{};  // fast membership for U+0000..U+007F
  std::vector<char16_t> others_;          // sorted members above U+007F
  void Rebuild();
};

// A text list as scripts write it ('ab'+'cd'+...): only the entries before
// the first empty one count for any reader, so only those are kept.
using TTextList = std::vector<WStr>;

// Result of SplitText: the parts (cut from the input) and, for each part, the
// separator that ended it (empty for a last part that ran to the end).
struct TSplitResult {
  std::vector<WView> parts;
  std::vector<WView> separators;
};

struct TBrackets {
  WView open;
  WView close;
};

// ---- Searches (case-sensitive, exact code units) -------------------------
int32_t FindChar(WView text, int32_t from, char16_t ch);
int32_t FindCharInSet(WView text, int32_t from, const TCharSet& set);
int32_t FindCharNotInSet(WView text, int32_t from, const TCharSet& set);
int32_t FindCharBackward(WView text, int32_t from, char16_t ch);
int32_t SkipCharForward(WView text, char16_t ch);   // length + 1 when all are ch
int32_t SkipCharBackward(WView text, char16_t ch);  // 0 when all are ch
// Never steps back after a partial match: "ab" is not found in "aab".
int32_t FindText(WView text, int32_t from, WView sub, bool at_start);
inline int32_t FindTextStart(WView text, int32_t from, WView sub) { return FindText(text, from, sub, true); }
inline int32_t FindTextEnd(WView text, int32_t from, WView sub) { return FindText(text, from, sub, false); }
TMatchSpan FindTextSkipping(WView text, int32_t from, WView sub, const TTextList& ignorable);
struct TListHit {
  int32_t index = -1;    // 1-based entry number, -1 when none
  int32_t position = 0;  // where it begins, 0 when none
  bool operator==(const TListHit&) const = default;
};
TListHit FindAnyTextAt(WView text, int32_t from, const TTextList& list);
TMatchSpan WildFind(WView text, WView pattern, int32_t from);
inline bool IsWildMatch(WView text, WView pattern) { return WildFind(text, pattern, 1).end > 0; }
bool IsTextAt(WView text, int32_t pos, WView sub);
inline bool CharInSet(char16_t ch, const TCharSet& set) { return set.Contains(ch); }
bool TextInList(WView text, const TTextList& list);

// ---- Copies (views into the input) ----------------------------------------
// Empty when start < 1, start > length, count < 1 or the range passes the end.
WView CopyCount(WView text, int32_t start, int32_t count);
WView CopyRange(WView text, int32_t from, int32_t to);
WView CopyBetween(WView text, int32_t from, WView mark1, WView mark2);

// ---- Trims (views) and removals (new texts) -------------------------------
WView TrimSpaces(WView text);      // U+0020 at both ends
WView TrimLineBreaks(WView text);  // LF, NUL, CR at both ends
WView TrimBlanks(WView text);      // NUL, space, TAB, LF, CR at both ends
WView TrimLeftSpaces(WView text);
WView TrimRightSpaces(WView text);
WView StripPair(WView text, char16_t open, char16_t close);
inline WView StripParens(WView text) { return StripPair(text, u'(', u')'); }
inline WView StripQuotes(WView text) { return StripPair(text, kQuote, kQuote); }
WStr RemoveChars(WView text, std::initializer_list<char16_t> chars);
WStr RemoveChars(WView text, const TCharSet& set);
WStr RemoveSpaces(WView text);
WStr RemoveTabs(WView text);
WStr RemoveLineBreaks(WView text);
WStr NormalizeWord(WView text);  // remove NUL/CR/LF, trim spaces, LowerAscii

// ---- Case, numbers, tests ---------------------------------------------------
// Only A-Z / a-z change; every other character (a double-byte character of
// the code page included) is left as it is.
WStr LowerAscii(WView text);
WStr UpperAscii(WView text);
void LowerAsciiInPlace(WStr& text);
inline char16_t LowerAsciiChar(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }
WStr IntToText(int32_t value);
void AppendInt(WStr& out, int32_t value);
int32_t ParseInteger(WView text);  // 0 for anything that is not a number
bool IsIntegerText(WView text);
bool IsQuotedLiteral(WView text);

// Splits text as the argument readers and evaluators do. Separators, brackets
// and quotes are compared with the text lower-cased (A-Z only), so a
// separator holding capitals never matches; parts keep their case and are
// views into `text`. Returns false, leaving `out` untouched, when the text is
// empty after trimming spaces. Separators and bracket texts must not be empty.
bool SplitText(WView text, std::span<const WView> separators, const TBrackets* brackets,
               WView quote_open, WView quote_close, WView quote_escape, TSplitResult& out);

// The lines of a text: CR LF, a lone CR or a lone LF ends a line; an empty
// piece after a final line end is no line, and an empty text has none.
std::vector<WView> SplitTextLines(WView text);

// ---- Argument conversions of the built-in functions --------------------------
WView NormArg(WView argument);  // StripQuotes(TrimSpaces(TrimLineBreaks(argument)))
int32_t ArgToInt(WView argument);
bool ArgToBool(WView argument);
char16_t ArgToChar(WView argument);
TCharSet ArgToCharSet(WView argument);
TTextList ArgToTextList(WView argument);

}  // namespace kovra
