#include "TestSupport.h"
#include "textlib/UnitEngineDeFunction.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace kovra {
namespace {

using namespace std::literals;

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;

using kovra_test::Show;

std::string Show(WView text, int64_t a) {
  return Show(text) + " @" + std::to_string(a);
}

// ---- Step-by-step forms of the three scans whose fast versions skip work.
// Each mirrors its definition one step at a time; the fast scans must give
// the same answer for every input.

int32_t StepFindText(WView text, int32_t from, WView sub, bool at_start) {
  const int64_t n = text.size();
  const int64_t m = sub.size();
  if (from < 1 || n < int64_t{from} + m - 1 || n < from) return 0;
  int64_t j = from;
  int64_t k = 1;
  while (j <= n) {
    if (k <= m && text[j - 1] == sub[k - 1]) {
      if (k == m) return static_cast<int32_t>(at_start ? j - m + 1 : j + 1);
      ++j;
      ++k;
    } else {
      ++j;
      k = 1;
    }
  }
  return 0;
}

TMatchSpan StepFindTextSkipping(WView text, int32_t from, WView sub, const TTextList& list) {
  TMatchSpan r;
  const int64_t n = text.size();
  const int64_t m = sub.size();
  if (n == 0 || m == 0) return r;
  for (int64_t p = std::max<int64_t>(from, 1); p <= n; ++p) {
    if (r.start == 0) {
      if (text[p - 1] == sub[0]) r.start = static_cast<int32_t>(p);
      continue;
    }
    int64_t k = 2;
    int64_t o = 0;
    while (k <= m && p + o <= n) {
      if (text[p + o - 1] == sub[k - 1]) {
        if (k == m) {
          r.end = static_cast<int32_t>(p + o);
          return r;
        }
        ++k;
        ++o;
      } else if (TextInList(WStr(1, text[p + o - 1]), list)) {
        ++o;
      } else {
        r.start = 0;
        break;
      }
    }
  }
  return r;
}

int64_t StepFindChar(WView text, int64_t from, char16_t ch) {
  for (int64_t i = std::max<int64_t>(from, 1); i <= static_cast<int64_t>(text.size()); ++i) {
    if (text[i - 1] == ch) return i;
  }
  return 0;
}

TMatchSpan StepWildFind(WView text, WView pattern, int32_t from) {
  TMatchSpan r;
  const int64_t n = text.size();
  const int64_t m = pattern.size();
  if (m == 0 || n == 0) return r;
  auto p = [&](int64_t k) { return pattern[k - 1]; };
  int64_t pos = from;
  for (;;) {
    int64_t k = 1;
    while (k <= m && p(k) == u'*') ++k;
    if (k > m) return r;
    r.start = static_cast<int32_t>(StepFindChar(text, pos, p(k)));
    if (r.start == 0) return r;
    pos = r.start;
    if (++k > m) {
      r.end = r.start;
      return r;
    }
    bool again = false;
    while (!again) {
      if (p(k) == u'*') {
        if (++k > m) {
          r.end = static_cast<int32_t>(pos);
          return r;
        }
        pos = StepFindChar(text, pos + 1, p(k));
        if (pos == 0) return r;
      } else {
        if (++pos > n) return r;
        if (text[pos - 1] != p(k)) {
          pos = r.start + 1;
          again = true;
          continue;
        }
      }
      if (++k > m) {
        r.end = static_cast<int32_t>(pos);
        return r;
      }
    }
  }
}

// ---- Character sets -------------------------------------------------------

TEST(TCharSetTest, FreeSlotsMakeU0001AMember) {
  const TCharSet empty;
  EXPECT_TRUE(empty.Contains(kNoChar));
  EXPECT_FALSE(empty.Contains(u'a'));
  EXPECT_FALSE(empty.Contains(kNul));

  TCharSet full;
  for (int i = 0; i < TCharSet::kSlots; ++i) full.SetSlot(i, static_cast<char16_t>(0x4E00 + i));
  EXPECT_FALSE(full.Contains(kNoChar));
  EXPECT_TRUE(full.Contains(u'\u4E00'));
  EXPECT_TRUE(full.Contains(static_cast<char16_t>(0x4E00 + 254)));
  EXPECT_FALSE(full.Contains(static_cast<char16_t>(0x4E00 + 255)));
  full.SetSlot(7, kNoChar);
  EXPECT_TRUE(full.Contains(kNoChar));
  EXPECT_FALSE(full.Contains(u'\u4E07'));
}

TEST(TCharSetTest, ReplacedSlotsKeepMembersHeldElsewhere) {
  TCharSet set{u'a', u'a', u'\u00E9', u'\u00E9', u'\uFFFF', kNul};
  EXPECT_TRUE(set.Contains(kNul));
  EXPECT_TRUE(set.Contains(u'\uFFFF'));
  set.SetSlot(0, u'b');
  EXPECT_TRUE(set.Contains(u'a'));  // slot 1 still holds it
  set.SetSlot(1, u'c');
  EXPECT_FALSE(set.Contains(u'a'));
  set.SetSlot(2, u'x');
  EXPECT_TRUE(set.Contains(u'\u00E9'));
  set.SetSlot(3, u'y');
  EXPECT_FALSE(set.Contains(u'\u00E9'));
  EXPECT_EQ(set.Slot(3), u'y');
  set.SetSlot(-1, u'z');  // outside the table: ignored
  set.SetSlot(TCharSet::kSlots, u'z');
  EXPECT_FALSE(set.Contains(u'z'));
}

// ---- Character searches -----------------------------------------------------

TEST(CharSearchTest, ForwardAndBackwardStayInsideTheText) {
  const WView text = u"ab\0ab"sv;
  struct Case {
    int32_t from;
    int32_t find_a, find_nul, backward_a;
  } cases[] = {
      {kMin, 1, 3, 0}, {-1, 1, 3, 0}, {0, 1, 3, 0}, {1, 1, 3, 1},    {2, 4, 3, 1},
      {4, 4, 0, 4},    {5, 0, 0, 4},  {6, 0, 0, 4}, {kMax, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(FindChar(text, c.from, u'a'), c.find_a);
    EXPECT_EQ(FindChar(text, c.from, kNul), c.find_nul);
    EXPECT_EQ(FindCharBackward(text, c.from, u'a'), c.backward_a);
  }
  EXPECT_EQ(FindChar(u"", 1, u'a'), 0);
  EXPECT_EQ(FindCharBackward(u"", kMax, u'a'), 0);
  EXPECT_EQ(FindCharBackward(text, 3, kNul), 3);
}

TEST(CharSearchTest, SetScans) {
  const TCharSet digits{u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9'};
  const WView text = u"ab12\u4E2Dc"sv;
  struct Case {
    int32_t from;
    int32_t in_set, not_in_set;
  } cases[] = {
      {kMin, 3, 1}, {0, 3, 1}, {3, 3, 5}, {4, 4, 5}, {5, 0, 5}, {6, 0, 6}, {7, 0, 0}, {kMax, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(FindCharInSet(text, c.from, digits), c.in_set);
    EXPECT_EQ(FindCharNotInSet(text, c.from, digits), c.not_in_set);
  }
  // U+0001 is a member of a set with free slots.
  EXPECT_EQ(FindCharInSet(u"ab\x01", 1, digits), 3);
  EXPECT_EQ(FindCharNotInSet(u"12\x01", 1, digits), 0);
}

TEST(CharSearchTest, SkipChar) {
  struct Case {
    std::u16string_view text;
    int32_t forward, backward;
  } cases[] = {
      {u"ab  ", 1, 2}, {u"    ", 5, 0}, {u"", 1, 0}, {u"  a b ", 3, 5}, {u" \0 "sv, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(SkipCharForward(c.text, kSpace), c.forward);
    EXPECT_EQ(SkipCharBackward(c.text, kSpace), c.backward);
  }
}

// ---- Text searches ------------------------------------------------------------

TEST(FindTextTest, NeverStepsBackAfterAPartialMatch) {
  struct Case {
    std::u16string_view text;
    int32_t from;
    std::u16string_view sub;
    int32_t start, end;
  } cases[] = {
      {u"aab", 1, u"ab", 0, 0},          {u"aaab", 1, u"aab", 0, 0},
      {u"xaby", 1, u"ab", 2, 4},         {u"xaby", 2, u"ab", 2, 4},
      {u"xaby", 3, u"ab", 0, 0},         {u"abab", 2, u"ab", 3, 5},
      {u"abcabd", 1, u"abd", 4, 7},      {u"xyz", 3, u"z", 3, 4},
      {u"xyz", 3, u"yz", 0, 0},  // not room enough after from
      {u"a\0b\0c"sv, 1, u"\0c"sv, 4, 6}, {u"xaby", 0, u"ab", 0, 0},
      {u"xaby", -5, u"ab", 0, 0},        {u"xaby", kMin, u"ab", 0, 0},
      {u"xaby", 5, u"ab", 0, 0},         {u"xaby", kMax, u"y", 0, 0},
      {u"xaby", 1, u"", 0, 0},           {u"", 1, u"a", 0, 0},
      {u"ab", 1, u"abc", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text, c.from) + " " + Show(c.sub));
    EXPECT_EQ(FindTextStart(c.text, c.from, c.sub), c.start);
    EXPECT_EQ(FindTextEnd(c.text, c.from, c.sub), c.end);
    EXPECT_EQ(FindText(c.text, c.from, c.sub, true), c.start);
  }
}

TEST(FindTextTest, AgreesWithTheStepByStepScan) {
  std::mt19937 rng(7);
  const std::u16string_view alphabet = u"aab";
  auto random_text = [&](int max_len) {
    WStr s(rng() % (max_len + 1), u'a');
    for (char16_t& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const WStr text = random_text(12);
    const WStr sub = random_text(4);
    const int32_t from = static_cast<int32_t>(rng() % (text.size() + 4)) - 1;
    SCOPED_TRACE(Show(text, from) + " " + Show(sub));
    ASSERT_EQ(FindText(text, from, sub, true), StepFindText(text, from, sub, true));
    ASSERT_EQ(FindText(text, from, sub, false), StepFindText(text, from, sub, false));
  }
}

TTextList Blanks() {
  return {u" ", u"\t", u"\n", u"\r"};
}

TEST(FindTextSkippingTest, ListedCharactersMayStandInsideTheMatch) {
  struct Case {
    std::u16string_view text;
    int32_t from;
    std::u16string_view sub;
    TMatchSpan expected;
  } cases[] = {
      {u"x[ script\r\n]y", 1, u"[script]", {2, 12}},
      {u"[script]", 1, u"[script]", {1, 8}},
      {u" [script]", 1, u"[script]", {2, 9}},
      {u"x[s", 1, u"[script]", {2, 0}},  // the text ends inside it
      {u"a  ", 1, u"ab", {1, 0}},
      {u"[scr ipt", 1, u"[script]", {0, 0}},   // ... but a later try fails
      {u"[scrXipt]", 1, u"[script]", {0, 0}},  // a stray character drops it
      {u"ab", 1, u"a", {1, 0}},                // one character never completes
      {u"b", 1, u"a", {0, 0}},
      {u"aab", 1, u"ab", {0, 0}},  // the failing 'a' is no new start
      {u"aaab", 1, u"ab", {3, 4}},
      {u"a b", 1, u"ab", {1, 3}},
      {u"abab", 2, u"ab", {3, 4}},
      {u"ab", 0, u"ab", {1, 2}},
      {u"ab", kMin, u"ab", {1, 2}},
      {u"ab", 3, u"ab", {0, 0}},
      {u"ab", kMax, u"ab", {0, 0}},
      {u"", 1, u"ab", {0, 0}},
      {u"ab", 1, u"", {0, 0}},
      {u"a\0b"sv, 1, u"ab", {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text, c.from) + " " + Show(c.sub));
    EXPECT_EQ(FindTextSkipping(c.text, c.from, c.sub, Blanks()), c.expected);
  }
  // Only one-character entries before the first empty entry count.
  EXPECT_EQ(FindTextSkipping(u"a\0b"sv, 1, u"ab", {WStr(1, kNul)}), (TMatchSpan{1, 3}));
  EXPECT_EQ(FindTextSkipping(u"a-b", 1, u"ab", {u"", u"-"}), (TMatchSpan{0, 0}));
  EXPECT_EQ(FindTextSkipping(u"a-b", 1, u"ab", {u"-x"}), (TMatchSpan{0, 0}));
}

// Texts built from runs of one character each; runs of `filler` may be long.
WStr RandomRuns(std::mt19937& rng, std::u16string_view alphabet, int runs, char16_t filler,
                int max_filler) {
  WStr s;
  const int count = static_cast<int>(rng() % (runs + 1));
  for (int i = 0; i < count; ++i) {
    const char16_t c = alphabet[rng() % alphabet.size()];
    s.append(1 + rng() % (c == filler ? max_filler : 3), c);
  }
  return s;
}

TEST(FindTextSkippingTest, AgreesWithTheStepByStepScan) {
  std::mt19937 rng(11);
  const std::u16string_view alphabet = u"abcx";
  for (int round = 0; round < 8000; ++round) {
    // 'x' is always skippable; its runs are long in every fourth round.
    const WStr text = RandomRuns(rng, alphabet, 10, u'x', round % 4 == 0 ? 150 : 3);
    const WStr sub = RandomRuns(rng, alphabet, 4, u'x', 2);
    TTextList list = {u"x"};
    for (char16_t c : alphabet.substr(0, 3)) {
      if (rng() % 2) list.emplace_back(1, c);
    }
    const int32_t from = static_cast<int32_t>(rng() % (text.size() + 3)) - 1;
    SCOPED_TRACE(Show(text, from) + " " + Show(sub) + " list " + std::to_string(list.size()));
    ASSERT_EQ(FindTextSkipping(text, from, sub, list), StepFindTextSkipping(text, from, sub, list));
  }
}

TEST(FindTextSkippingTest, LongStretchesAreNotWalkedOnceForEveryTry) {
  constexpr size_t kN = 200000;
  // Every start fails only at the 'z', after the same long stretch.
  const WStr starts = WStr(kN, u'a') + WStr(kN, u'x') + u"zb";
  EXPECT_EQ(FindTextSkipping(starts, 1, u"ab", {u"a", u"x"}), (TMatchSpan{0, 0}));
  // Every try from the second character on runs to the end of the text.
  const WStr runs_out = u"a" + WStr(40, u'b') + WStr(kN, u'x');
  const WStr sub = u"a" + WStr(50, u'b') + u"c";
  EXPECT_EQ(FindTextSkipping(runs_out, 1, sub, {u"x"}), (TMatchSpan{1, 0}));
  const WStr waits = u"a" + WStr(kN, u'b');
  EXPECT_EQ(FindTextSkipping(waits, 1, u"abc", {u"b"}), (TMatchSpan{1, 0}));
}

TEST(FindAnyTextAtTest, LeftmostEntryWinsThenTheEarlierOne) {
  const TTextList list = {u"downto", u"to", u"own"};
  struct Case {
    std::u16string_view text;
    int32_t from;
    TListHit expected;
  } cases[] = {
      {u"i:=1 downto 0", 1, {1, 6}},
      {u"i:=1 downto 0", 7, {3, 7}},
      {u"i:=1 downto 0", 8, {2, 10}},
      {u"i:=1 to 9", 1, {2, 6}},
      {u"tototo", 6, {-1, 0}},  // the entry must fit inside the text
      {u"tototo", 5, {2, 5}},
      {u"tototo", 0, {2, 1}},
      {u"tototo", kMin, {2, 1}},
      {u"tototo", 7, {-1, 0}},
      {u"tototo", kMax, {-1, 0}},
      {u"\0to"sv, 1, {2, 2}},
      {u"", 1, {-1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text, c.from));
    EXPECT_EQ(FindAnyTextAt(c.text, c.from, list), c.expected);
  }
  // At one position the earlier entry wins, even when it is shorter.
  EXPECT_EQ(FindAnyTextAt(u"xdownto", 1, {u"do", u"downto"}), (TListHit{1, 2}));
  // An empty entry ends the list.
  EXPECT_EQ(FindAnyTextAt(u"to", 1, {u"xx", u"", u"to"}), (TListHit{-1, 0}));
  EXPECT_EQ(FindAnyTextAt(u"to", 1, {}), (TListHit{-1, 0}));
}

TEST(WildFindTest, JumpsWithoutBacktracking) {
  struct Case {
    std::u16string_view text;
    std::u16string_view pattern;
    int32_t from;
    TMatchSpan expected;
  } cases[] = {
      {u"ab<i>cd", u"<*>", 1, {3, 5}},
      {u"xay", u"a", 1, {2, 2}},
      {u"ac", u"*ab", 1, {0, 0}},
      {u"abc", u"***", 1, {0, 0}},
      {u"<a><b>", u"<*>", 2, {4, 6}},
      {u"<ab", u"<*>", 1, {1, 0}},     // the jump finds nothing: start stays
      {u"ab", u"abc", 1, {1, 0}},      // the text ends inside the attempt
      {u"axb", u"a*", 1, {1, 1}},      // a trailing '*' adds nothing
      {u"abxbc", u"a*bc", 1, {0, 0}},  // no step back into the '*'
      {u"abxab", u"ab*ab", 1, {1, 5}},
      {u"aXbYc", u"a*b*c", 1, {1, 5}},
      {u"a*b", u"a**b", 1, {1, 3}},  // "**" needs a real '*'
      {u"axxb", u"a**b", 1, {1, 0}},
      {u"aab", u"ab", 1, {2, 3}},
      {u"a\0b"sv, u"a*b", 1, {1, 3}},
      {u"a\0b"sv, u"\0"sv, 1, {2, 2}},
      {u"ab<i>cd", u"<*>", 0, {3, 5}},
      {u"ab<i>cd", u"<*>", kMin, {3, 5}},
      {u"ab<i>cd", u"<*>", 4, {0, 0}},
      {u"ab<i>cd", u"<*>", 8, {0, 0}},
      {u"ab<i>cd", u"<*>", kMax, {0, 0}},
      {u"", u"a", 1, {0, 0}},
      {u"a", u"", 1, {0, 0}},
      {u"Ab", u"ab", 1, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text, c.from) + " " + Show(c.pattern));
    EXPECT_EQ(WildFind(c.text, c.pattern, c.from), c.expected);
  }
  EXPECT_TRUE(IsWildMatch(u"<td class=x>", u"<td*>"));
  EXPECT_FALSE(IsWildMatch(u"<td class=x", u"<td*>"));
  EXPECT_FALSE(IsWildMatch(u"abc", u"*"));
}

TEST(WildFindTest, AgreesWithTheStepByStepScan) {
  std::mt19937 rng(3);
  auto random = [&](std::u16string_view alphabet, int max_len) {
    WStr s(rng() % (max_len + 1), u'a');
    for (char16_t& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    const WStr text = random(u"aab*", 14);
    const WStr pattern = random(u"ab**", 6);
    const int32_t from = static_cast<int32_t>(rng() % (text.size() + 3)) - 1;
    SCOPED_TRACE(Show(text, from) + " " + Show(pattern));
    ASSERT_EQ(WildFind(text, pattern, from), StepWildFind(text, pattern, from));
  }
  // Patterns longer than the attempt memory kept inline.
  for (int round = 0; round < 300; ++round) {
    const WStr text = random(u"ab", 300);
    const WStr pattern = random(u"ab*", 80) + u"*b";
    SCOPED_TRACE(Show(text) + " " + Show(pattern));
    ASSERT_EQ(WildFind(text, pattern, 1), StepWildFind(text, pattern, 1));
  }
}

TEST(WildFindTest, FailedAttemptsDoNotRescanTheText) {
  constexpr size_t kN = 200000;
  // Every attempt jumps to the last 'b' and fails on the next character.
  const WStr text = WStr(kN, u'a') + u"bx";
  EXPECT_EQ(WildFind(text, u"a*bc", 1), (TMatchSpan{0, 0}));
  EXPECT_EQ(WildFind(text + u"abc", u"a*bc", 1),
            (TMatchSpan{static_cast<int32_t>(kN + 3), static_cast<int32_t>(kN + 5)}));
  EXPECT_EQ(WildFind(WStr(kN, u'a') + u"bcd", u"a*bc*d", 1),
            (TMatchSpan{1, static_cast<int32_t>(kN + 3)}));
}

TEST(IsTextAtTest, PositionsAndEmptySub) {
  const WView text = u"ab\0c"sv;
  struct Case {
    int32_t pos;
    std::u16string_view sub;
    bool expected;
  } cases[] = {
      {1, u"ab", true},    {2, u"b\0"sv, true}, {3, u"\0c"sv, true}, {4, u"c", true},
      {4, u"cd", false},   {2, u"ab", false},   {0, u"ab", false},   {kMin, u"a", false},
      {kMax, u"a", false}, {1, u"", true},      {5, u"", true},      {6, u"", false},
      {0, u"", false},     {kMax, u"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.sub) + " @" + std::to_string(c.pos));
    EXPECT_EQ(IsTextAt(text, c.pos, c.sub), c.expected);
  }
}

TEST(TextInListTest, FirstEmptyEntryEndsTheSearch) {
  const TTextList list = {u"ab", u"", u"cd"};
  EXPECT_TRUE(TextInList(u"ab", list));
  EXPECT_FALSE(TextInList(u"cd", list));
  EXPECT_FALSE(TextInList(u"", list));
  EXPECT_FALSE(TextInList(u"ab", {}));
  EXPECT_TRUE(TextInList(u"a\0"sv, {u"x", WStr(u"a\0"sv)}));
}

// ---- Copies -----------------------------------------------------------------

TEST(CopyTest, RangesPastTheEndGiveEmptyTexts) {
  const WView text = u"abcdef";
  struct Case {
    int32_t a, b;
    std::u16string_view count, range;
  } cases[] = {
      {5, 3, u"", u""},
      {5, 2, u"ef", u""},
      {2, 1, u"b", u""},
      {2, 3, u"bcd", u"bc"},
      {1, 6, u"abcdef", u"abcdef"},
      {6, 1, u"f", u""},
      {6, 6, u"", u"f"},
      {7, 1, u"", u""},
      {0, 2, u"", u""},
      {-1, 3, u"", u""},
      {1, 0, u"", u""},
      {1, -1, u"", u""},
      {kMax, kMax, u"", u""},
      {kMin, kMax, u"", u""},
      {1, kMax, u"", u""},
      {2, kMin, u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + "," + std::to_string(c.b));
    EXPECT_EQ(CopyCount(text, c.a, c.b), c.count);
    EXPECT_EQ(CopyRange(text, c.a, c.b), c.range);
  }
  const WView piece = CopyCount(text, 2, 3);
  EXPECT_EQ(piece.data(), text.data() + 1);  // a view into the input
  EXPECT_EQ(CopyRange(u"a\0b"sv, 1, 3), u"a\0b"sv);
}

TEST(CopyTest, Between) {
  struct Case {
    std::u16string_view text;
    int32_t from;
    std::u16string_view mark1, mark2, expected;
  } cases[] = {
      {u"<b>x</b>", 1, u"<b>", u"</b>", u"x"},
      {u"<b>x</b>", 1, u"<b>", u"</i>", u""},
      {u"<b>x</b>", 1, u"<i>", u"</b>", u""},
      {u"<b></b>", 1, u"<b>", u"</b>", u""},
      {u"<b>x</b><b>y</b>", 2, u"<b>", u"</b>", u"y"},
      {u"<b>x</b>", 0, u"<b>", u"</b>", u""},
      {u"<b>x</b>", kMax, u"<b>", u"</b>", u""},
      {u"ab", 1, u"ab", u"x", u""},  // mark1 ends the text
      {u"[\0]"sv, 1, u"[", u"]", u"\0"sv},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text, c.from));
    EXPECT_EQ(CopyBetween(c.text, c.from, c.mark1, c.mark2), c.expected);
  }
}

// ---- Trims and removals ---------------------------------------------------------

TEST(TrimTest, EachTrimTakesOnlyItsCharacters) {
  struct Case {
    std::u16string_view text;
    std::u16string_view spaces, line_breaks, blanks, left, right;
  } cases[] = {
      {u" \tab\r\n", u"\tab\r\n", u" \tab", u"ab", u"\tab\r\n", u" \tab\r\n"},
      {u" \tab ", u"\tab", u" \tab ", u"ab", u"\tab ", u" \tab"},
      {u"\r\n ab\n", u"\r\n ab\n", u" ab", u"ab", u"\r\n ab\n", u"\r\n ab\n"},
      {u"\0 x \0"sv, u"\0 x \0"sv, u" x ", u"x", u"\0 x \0"sv, u"\0 x \0"sv},
      {u"   ", u"", u"   ", u"", u"", u""},
      {u"", u"", u"", u"", u"", u""},
      {u"a b", u"a b", u"a b", u"a b", u"a b", u"a b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(TrimSpaces(c.text), c.spaces);
    EXPECT_EQ(TrimLineBreaks(c.text), c.line_breaks);
    EXPECT_EQ(TrimBlanks(c.text), c.blanks);
    EXPECT_EQ(TrimLeftSpaces(c.text), c.left);
    EXPECT_EQ(TrimRightSpaces(c.text), c.right);
  }
}

TEST(TrimTest, StripOnePair) {
  struct Case {
    std::u16string_view text, quotes, parens;
  } cases[] = {
      {u"'ab'", u"ab", u"'ab'"}, {u"''ab''", u"'ab'", u"''ab''"}, {u"''", u"", u"''"},
      {u"'", u"'", u"'"},        {u"(a)", u"(a)", u"a"},          {u"()", u"()", u""},
      {u")(", u")(", u")("},     {u"'a", u"'a", u"'a"},           {u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(StripQuotes(c.text), c.quotes);
    EXPECT_EQ(StripParens(c.text), c.parens);
  }
  EXPECT_EQ(StripPair(u"[x]", u'[', u']'), u"x");
}

TEST(RemoveTest, RemovesEveryMember) {
  const WView text = u" a\tb\r\n c\0 "sv;
  EXPECT_EQ(RemoveSpaces(text), u"a\tb\r\nc\0"sv);
  EXPECT_EQ(RemoveTabs(text), u" ab\r\n c\0 "sv);
  EXPECT_EQ(RemoveLineBreaks(text), u" a\tb c\0 "sv);
  EXPECT_EQ(RemoveChars(text, {kNul, kSpace, kTab, kCr, kLf}), u"abc");
  EXPECT_EQ(RemoveChars(u"", {kSpace}), u"");
  // A character set with free slots also removes U+0001.
  EXPECT_EQ(RemoveChars(u"a\x01"
                        u"b\u4E2D",
                        TCharSet{u'b', u'\u4E2D'}),
            u"a");
  EXPECT_EQ(NormalizeWord(u" \r\nIf X\0 "sv), u"if x");
  EXPECT_EQ(NormalizeWord(u"\r\n  \n"), u"");
}

// ---- Case, numbers, tests -------------------------------------------------------------

TEST(CaseTest, OnlyAsciiLettersChange) {
  const WView text = u"AZaz@[`{\u00C4\u00E4\uFF21\u4E2D\0"sv;
  EXPECT_EQ(LowerAscii(text), u"azaz@[`{\u00C4\u00E4\uFF21\u4E2D\0"sv);
  EXPECT_EQ(UpperAscii(text), u"AZAZ@[`{\u00C4\u00E4\uFF21\u4E2D\0"sv);
  WStr in_place(text);
  LowerAsciiInPlace(in_place);
  EXPECT_EQ(in_place, LowerAscii(text));
  EXPECT_EQ(LowerAscii(u""), u"");
}

TEST(NumberTest, IntToText) {
  struct Case {
    int32_t value;
    std::u16string_view text;
  } cases[] = {
      {0, u"0"},
      {7, u"7"},
      {-7, u"-7"},
      {100, u"100"},
      {kMax, u"2147483647"},
      {kMin, u"-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(IntToText(c.value), c.text);
    WStr appended = u"x=";
    AppendInt(appended, c.value);
    EXPECT_EQ(appended, u"x=" + WStr(c.text));
  }
}

TEST(NumberTest, ParseInteger) {
  struct Case {
    std::u16string_view text;
    int32_t value;
  } cases[] = {
      {u"12", 12},
      {u" -7", -7},
      {u"+7", 7},
      {u"  007", 7},
      {u"$ff", 255},
      {u"0x10", 16},
      {u"0X1f", 31},
      {u"x10", 16},
      {u"X10", 16},
      {u"$7FFFFFFF", kMax},
      {u"$80000000", kMin},
      {u"$FFFFFFFF", -1},
      {u"$000000001", 0},  // more than eight hexadecimal digits
      {u"-$10", -16},      // the sign applies to the hexadecimal number
      {u"+0x10", 16},
      {u"-$80000000", kMin},
      {u"-$FFFFFFFF", 1},
      {u"2147483647", kMax},
      {u"-2147483648", kMin},
      {u"2147483648", 0},
      {u"-2147483649", 0},
      {u"99999999999999999999", 0},
      {u"00000000000000000012", 12},
      {u"12a", 0},
      {u"12 ", 0},
      {u"1 2", 0},
      {u"- 1", 0},
      {u"--1", 0},
      {u"\t1", 0},
      {u"1\0"sv, 0},
      {u"", 0},
      {u"   ", 0},
      {u"-", 0},
      {u"$", 0},
      {u"0x", 0},
      {u"-0x", 0},
      {u"$g", 0},
      {u"0", 0},
      {u"-0", 0},
      {u"\uFF11", 0},  // a full-width digit is no digit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(ParseInteger(c.text), c.value);
  }
}

TEST(NumberTest, IsIntegerTextAndIsQuotedLiteral) {
  struct IntCase {
    std::u16string_view text;
    bool expected;
  } int_cases[] = {
      {u"-12", true},  {u"0", true},   {u"007", true},    {u"99999999999", true},
      {u"-", false},   {u"+1", false}, {u"", false},      {u"1-", false},
      {u"--1", false}, {u" 1", false}, {u"1\0"sv, false},
  };
  for (const IntCase& c : int_cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(IsIntegerText(c.text), c.expected);
  }
  struct QuoteCase {
    std::u16string_view text;
    bool expected;
  } quote_cases[] = {
      {u"'it''s'", true}, {u"'a'b'", true}, {u"''", true},   {u"'a'", true},
      {u"''''", true},    {u"'a''", false}, {u"'", false},   {u"", false},
      {u"a'", false},     {u"'ab", false},  {u"'''", false}, {u" 'a'", false},
  };
  for (const QuoteCase& c : quote_cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(IsQuotedLiteral(c.text), c.expected);
  }
}

// ---- SplitText -------------------------------------------------------------------

struct SplitCase {
  std::u16string_view text;
  std::vector<WView> separators;
  std::vector<WView> brackets;  // empty: no bracket counting
  std::u16string_view quote_open, quote_close, quote_escape;
  std::vector<std::u16string_view> expected;  // "part|separator"
};

std::vector<WStr> RunSplit(const SplitCase& c) {
  TBrackets pair;
  if (c.brackets.size() == 2) pair = {c.brackets[0], c.brackets[1]};
  TSplitResult out;
  std::vector<WStr> got;
  if (!SplitText(c.text, c.separators, c.brackets.size() == 2 ? &pair : nullptr, c.quote_open,
                 c.quote_close, c.quote_escape, out)) {
    return {u"(false)"};
  }
  EXPECT_EQ(out.parts.size(), out.separators.size());
  for (size_t i = 0; i < out.parts.size(); ++i) {
    // Parts are cut from the input itself.
    if (!out.parts[i].empty()) {
      EXPECT_GE(out.parts[i].data(), c.text.data());
      EXPECT_LE(out.parts[i].data() + out.parts[i].size(), c.text.data() + c.text.size());
    }
    got.push_back(WStr(out.parts[i]) + u"|" + WStr(out.separators[i]));
  }
  return got;
}

TEST(SplitTextTest, SeparatorsBracketsAndQuotes) {
  const std::vector<WView> comma = {u","};
  const std::vector<WView> parens = {u"(", u")"};
  const SplitCase cases[] = {
      {u"a,b,", comma, {}, u"", u"", u"", {u"a|,", u"b|,"}},
      {u",a", comma, {}, u"", u"", u"", {u"|,", u"a|"}},
      {u"a,,b", comma, {}, u"", u"", u"", {u"a|,", u"|,", u"b|"}},
      {u"   ", comma, {}, u"", u"", u"", {u"(false)"}},
      {u"", comma, {}, u"", u"", u"", {u"(false)"}},
      {u"  Ab , Cd  ", comma, {}, u"", u"", u"", {u"Ab |,", u" Cd|"}},
      {u"f(a,b),c", comma, parens, u"", u"", u"", {u"f(a,b)|,", u"c|"}},
      {u"f((a),b),c", comma, parens, u"", u"", u"", {u"f((a),b)|,", u"c|"}},
      {u"a),b", comma, parens, u"", u"", u"", {u"a)|,", u"b|"}},  // a close at depth 0
      {u"f(a,b", comma, parens, u"", u"", u"", {u"f(a,b|"}},
      {u"'x,y',z", comma, {}, u"'", u"'", u"''", {u"'x,y'|,", u"z|"}},
      {u"'it''s',b", comma, {}, u"'", u"'", u"''", {u"'it''s'|,", u"b|"}},
      {u"'it''s',b", comma, {}, u"'", u"'", u"'", {u"'it''s'|,", u"b|"}},
      {u"'(',x", comma, parens, u"'", u"'", u"''", {u"'('|,", u"x|"}},
      {u"(a,')',b),c", comma, parens, u"'", u"'", u"''", {u"(a,')',b)|,", u"c|"}},
      {u"'a,b", comma, {}, u"'", u"'", u"''", {u"'a,b|"}},
      // Empty quote texts: no quoting / a quote that ends at once / one that
      // stays open to the end.
      {u"'a,b", comma, {}, u"", u"'", u"''", {u"'a|,", u"b|"}},
      {u"'a,b", comma, {}, u"'", u"", u"''", {u"'a|,", u"b|"}},
      {u"'a',b,c", comma, {}, u"'", u"'", u"", {u"'a',b,c|"}},
      {u"'a,b", comma, {}, u"'", u"", u"", {u"'a,b|"}},
      // Compared with the text lower-cased: capitals in a separator never match.
      {u"x AND y", {u"AND"}, {}, u"", u"", u"", {u"x AND y|"}},
      {u"x AND y", {u" and "}, {}, u"", u"", u"", {u"x| and ", u"y|"}},
      {u"IF x THEN y", {u"then"}, {u"(", u")"}, u"'", u"'", u"''", {u"IF x |then", u" y|"}},
      {u"\u00C4b\u00E4c", {u"\u00E4"}, {}, u"", u"", u"", {u"\u00C4b|\u00E4", u"c|"}},
      // Separators are tried in the order given.
      {u"a;b,c", {u",", u";"}, {}, u"", u"", u"", {u"a|;", u"b|,", u"c|"}},
      {u"xaby", {u"ab", u"a"}, {}, u"", u"", u"", {u"x|ab", u"y|"}},
      {u"xaby", {u"a", u"ab"}, {}, u"", u"", u"", {u"x|a", u"by|"}},
      {u"a\0b,c"sv, comma, {}, u"", u"", u"", {u"a\0b|,"sv, u"c|"}},
      // Empty separators and an empty open bracket are passed over.
      {u"a,b", {u"", u","}, {}, u"", u"", u"", {u"a|,", u"b|"}},
      {u"(a,b)", comma, {u"", u")"}, u"", u"", u"", {u"(a|,", u"b)|"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(Show(c.text));
    const std::vector<WStr> expected(c.expected.begin(), c.expected.end());
    EXPECT_EQ(RunSplit(c), expected);
  }
}

TEST(SplitTextTest, BlankTextLeavesTheResultAsItWas) {
  TSplitResult out;
  out.parts = {u"keep"};
  out.separators = {u","};
  const WView comma[] = {u","};
  EXPECT_FALSE(SplitText(u"   ", comma, nullptr, u"'", u"'", u"''", out));
  ASSERT_EQ(out.parts.size(), 1u);
  EXPECT_EQ(out.parts[0], u"keep");
  EXPECT_TRUE(SplitText(u"a", comma, nullptr, u"'", u"'", u"''", out));
  ASSERT_EQ(out.parts.size(), 1u);
  EXPECT_EQ(out.parts[0], u"a");
  EXPECT_EQ(out.separators[0], u"");
}

// ---- Argument conversions ------------------------------------------------------------

TEST(ArgTest, NormArgIntBoolChar) {
  struct Case {
    std::u16string_view argument;
    std::u16string_view norm;
    int32_t number;
    bool flag;
    char16_t ch;
  } cases[] = {
      {u"'a'", u"a", 0, false, u'a'},
      {u"a", u"a", 0, false, u'a'},
      {u"'ab'", u"ab", 0, false, kNoChar},
      {u"''", u"", 0, false, kNoChar},
      {u"'''", u"'", 0, false, u'\''},
      {u"' '", u" ", 0, false, u' '},
      {u"'TRUE'", u"TRUE", 0, true, kNoChar},
      {u"true ", u"true", 0, true, kNoChar},
      {u"\r\n True \r\n", u"True", 0, true, kNoChar},
      {u"' true'", u" true", 0, false, kNoChar},
      {u"1", u"1", 1, false, u'1'},
      {u"yes", u"yes", 0, false, kNoChar},
      {u"truex", u"truex", 0, false, kNoChar},
      {u"'12'", u"12", 12, false, kNoChar},
      {u"\r\n 12 \n", u"12", 12, false, kNoChar},
      {u"' 12 '", u" 12 ", 0, false, kNoChar},  // the spaces inside the quotes stay
      {u"'$ff'", u"$ff", 255, false, kNoChar},
      {u"\0-7\0"sv, u"-7", -7, false, kNoChar},
      {u"", u"", 0, false, kNoChar},
      {u"\u4E2D", u"\u4E2D", 0, false, u'\u4E2D'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.argument));
    EXPECT_EQ(NormArg(c.argument), c.norm);
    EXPECT_EQ(ArgToInt(c.argument), c.number);
    EXPECT_EQ(ArgToBool(c.argument), c.flag);
    EXPECT_EQ(ArgToChar(c.argument), c.ch);
  }
}

TEST(ArgTest, CharSet) {
  const TCharSet set = ArgToCharSet(u"'a'+'bc'+'d'");
  EXPECT_EQ(set.Slot(0), u'a');
  EXPECT_EQ(set.Slot(1), kNoChar);
  EXPECT_EQ(set.Slot(2), u'd');
  EXPECT_TRUE(CharInSet(kNoChar, set));
  EXPECT_FALSE(CharInSet(u'b', set));

  const TCharSet spaced = ArgToCharSet(u" 'a' + 'b'+' '+'+'+'\u4E2D' ");
  for (char16_t c : {u'a', u'b', u' ', u'+', u'\u4E2D'}) EXPECT_TRUE(spaced.Contains(c)) << int(c);
  EXPECT_FALSE(spaced.Contains(u'\''));

  const TCharSet none = ArgToCharSet(u"");
  EXPECT_TRUE(none.Contains(kNoChar));
  EXPECT_FALSE(none.Contains(u'+'));

  // 255 members fill the table (U+0001 is then no member); more are ignored.
  WStr many;
  for (int i = 0; i < 256; ++i) {
    if (i > 0) many += u"+";
    many += u"'" + WStr(1, static_cast<char16_t>(0x4E00 + i)) + u"'";
  }
  const TCharSet full = ArgToCharSet(many);
  EXPECT_TRUE(full.Contains(static_cast<char16_t>(0x4E00 + 254)));
  EXPECT_FALSE(full.Contains(static_cast<char16_t>(0x4E00 + 255)));
  EXPECT_FALSE(full.Contains(kNoChar));
}

TEST(ArgTest, TextList) {
  struct Case {
    std::u16string_view argument;
    std::vector<std::u16string_view> expected;
  } cases[] = {
      {u"'ab'+''+'cd'", {u"ab"}},
      {u"'ab'+'cd'", {u"ab", u"cd"}},
      {u"'a+b'+ 'c' ", {u"a+b", u"c"}},
      {u"'it''s'", {u"it''s"}},
      {u"ab", {u"ab"}},
      {u"", {}},
      {u"''+'x'", {}},
      {u"'ab'+", {u"ab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.argument));
    const TTextList expected(c.expected.begin(), c.expected.end());
    EXPECT_EQ(ArgToTextList(c.argument), expected);
  }
  const TTextList list = ArgToTextList(u"'ab'+''+'cd'");
  EXPECT_FALSE(TextInList(u"cd", list));

  WStr many;
  for (int i = 0; i < 300; ++i) many += u"'x'+";
  EXPECT_EQ(ArgToTextList(many).size(), 255u);
}

}  // namespace
}  // namespace kovra
