#include "TestSupport.h"
#include "textlib/UnitBuiltinBodies.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace kovra {
namespace {

using namespace std::literals;

using kovra_test::Show;

struct TSearchCase {
  WView text;
  int32_t from;
  WView sub;
  int32_t expected;
};

TEST(FindTextBackwardTest, FindsOccurrenceEndingNearestToFrom) {
  const TSearchCase cases[] = {
      {u"abcabc", 6, u"bc", 5},
      {u"abcabc", 5, u"bc", 2},
      {u"abcabc", 2, u"bc", 0},
      {u"abcabc", 3, u"bc", 2},
      {u"aaa", 3, u"aa", 2},      // overlapping: the one ending at 3
      {u"abcabc", 99, u"bc", 5},  // beyond the end: from the last character
      {u"abcabc", INT32_MAX, u"abc", 4},
      {u"abcabc", 0, u"a", 0},
      {u"abcabc", INT32_MIN, u"a", 0},
      {u"abcabc", 6, u"", 0},
      {u"ab", 2, u"abc", 0},
      {u"", 1, u"a", 0},
      {u"a\0b\0"sv, 4, u"\0"sv, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " from " + std::to_string(c.from) + " sub " + Show(c.sub));
    EXPECT_EQ(FindTextBackward(c.text, c.from, c.sub), c.expected);
  }
}

TEST(FindAnyTextBackwardTest, NearestEndWinsThenEarlierEntry) {
  struct Case {
    WView text;
    int32_t from;
    TTextList list;
    int32_t expected;
  };
  const Case cases[] = {
      {u"abXcd", 5, {u"ab", u"cd"}, 4},
      {u"abXcd", 3, {u"ab", u"cd"}, 1},
      {u"abXcd", 1, {u"ab", u"cd"}, 0},
      {u"xabc", 4, {u"bc", u"abc"}, 3},  // same end: the earlier entry
      {u"xabc", 4, {u"abc", u"bc"}, 2},
      {u"abXcd", INT32_MAX, {u"ab", u"cd"}, 4},
      {u"abXcd", INT32_MIN, {u"ab", u"cd"}, 0},
      {u"abXcd", 5, {}, 0},
      {u"abXcd", 5, {u"", u"cd"}, 0},         // an empty first entry ends the list
      {u"abXcd", 5, {u"ab", u"", u"cd"}, 1},  // entries after an empty one do not count
      {u"ab", 2, {u"xab"}, 0},
      // Entries whose last characters share the low byte must not shadow each other.
      {u"a\u0161", 2, {u"za", u"\u0161"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " from " + std::to_string(c.from));
    EXPECT_EQ(FindAnyTextBackward(c.text, c.from, c.list), c.expected);
  }
}

TEST(FindTextNthTest, CountsPassesAndCyclesAfterTheLast) {
  const struct {
    WView text;
    WView sub;
    int32_t count;
    int32_t expected;
  } cases[] = {
      {u"a-a-a", u"a", 1, 1},
      {u"a-a-a", u"a", 2, 3},
      {u"a-a-a", u"a", 3, 5},
      {u"a-a-a", u"a", 4, 0},  // the fourth pass finds nothing
      {u"a-a-a", u"a", 5, 1},  // and the fifth starts over
      {u"aaaa", u"a", 2, 3},   // the character after an occurrence is skipped
      {u"xabyab", u"ab", 2, 5},
      {u"a-a-a", u"a", 0, 0},
      {u"a-a-a", u"a", -3, 0},
      {u"a-a-a", u"", 1, 0},
      {u"xyz", u"a", INT32_MAX, 0},
      // Period 4 (three hits and a miss): pass 2147483647 is the third hit.
      {u"a-a-a", u"a", INT32_MAX, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " sub " + Show(c.sub) + " count " + std::to_string(c.count));
    EXPECT_EQ(FindTextNth(c.text, c.sub, c.count), c.expected);
  }
}

TEST(FindTextNthTest, HugeCountOverManyOccurrencesEndsAtOnce) {
  WStr text(200000, u'a');
  // 100000 hits and one miss per period; INT32_MAX passes must not be run.
  const int32_t period = 100001;
  const int32_t nth = static_cast<int32_t>((static_cast<int64_t>(INT32_MAX) - 1) % period) + 1;
  const int32_t expected = nth == period ? 0 : 2 * nth - 1;
  EXPECT_EQ(FindTextNth(text, u"a", INT32_MAX), expected);
}

TEST(CopyBetweenMatchesTest, CopiesBetweenTwoWildcardMatches) {
  const struct {
    WView text;
    int32_t from;
    WView pattern1;
    WView pattern2;
    WView expected;
  } cases[] = {
      {u"<a href=x>link</a>", 1, u"<a*>", u"</a>", u"link"},
      {u"<html><title>T</title>", 1, u"<*title*>", u"<", u"T"},
      {u"<TITLE>T</TITLE>", 1, u"<*title*>", u"<", u""},
      {u"<b>1</b><b>2</b>", 9, u"<*b*>", u"<", u"2"},
      {u"<b></b>", 1, u"<b>", u"<", u""},  // matches touch
      {u"<b>x", 1, u"<b>", u"<", u""},     // no second match
      {u"x</b>", 1, u"<b>", u"<", u""},    // no first match
      {u"<b>x<", INT32_MAX, u"<b>", u"<", u""},
      {u"ab", 1, u"b", u"", u""},  // an empty pattern never matches
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " " + Show(c.pattern1) + " " + Show(c.pattern2));
    EXPECT_EQ(CopyBetweenMatches(c.text, c.from, c.pattern1, c.pattern2), c.expected);
  }
}

TEST(CopyBetweenSkippingTest, ReportsResultAndPositions) {
  const TTextList blank = {u" "};
  const struct {
    WView text;
    int32_t from;
    WView mark1;
    WView mark2;
    TSkippingCopy expected;
  } cases[] = {
      {u"x< <a> >y", 1, u"<<", u">>", {5, 6, u"a"}},
      {u"x<<>>y", 1, u"<<", u">>", {4, 4, u""}},
      {u"x< <a> >y", 1, u"<<", u")", {0, 0, u""}},  // a one-character mark never completes
      {u"x< <a> >y", 1, u"<<", u">", {6, 0, u""}},
      {u"x<", 1, u"<<", u">>", {2, 0, u""}},  // incomplete mark1: where it began
      {u"abc", 1, u"<<", u">>", {0, 0, u""}},
      {u"x< <a> >y", 3, u"<<", u">>", {0, 0, u""}},
      {u"x< <a> >y", INT32_MAX, u"<<", u">>", {0, 0, u""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " from " + std::to_string(c.from) + " " + Show(c.mark1) + " " +
                 Show(c.mark2));
    const TSkippingCopy got = CopyBetweenSkipping(c.text, c.from, c.mark1, c.mark2, blank);
    EXPECT_EQ(got.first, c.expected.first);
    EXPECT_EQ(got.last, c.expected.last);
    EXPECT_EQ(got.result, c.expected.result);
  }
}

TEST(ExchangeTextTest, ReplacesWithinTheRangeFromOne) {
  const struct {
    WView text;
    int32_t from;
    int32_t to;
    WView old_text;
    WView new_text;
    WView expected;
  } cases[] = {
      {u"a-b-c", 1, 5, u"-", u"+", u"a+b+c"},
      {u"a-b-c", 1, 3, u"-", u"+", u"a+b"},    // nothing after `to` is kept
      {u"a-b-c", 2, 5, u"-", u"+", u"a-b-c"},  // only a range from 1 is worked on
      {u"a-b-c", 0, 5, u"-", u"+", u"a-b-c"},
      {u"a-b-c", INT32_MIN, 5, u"-", u"+", u"a-b-c"},
      {u"a-b-c", 1, 6, u"-", u"+", u"a-b-c"},
      {u"a-b-c", 1, INT32_MAX, u"-", u"+", u"a-b-c"},
      {u"a-b-c", 1, 0, u"-", u"+", u""},
      {u"a-b-c", 1, INT32_MIN, u"-", u"+", u""},
      {u"a-b-c", 1, 5, u"", u"+", u"a-b-c"},
      {u"abcd", 1, 2, u"bc", u"X", u"aX"},  // begins before `to`: replaced whole
      {u"abcd", 1, 1, u"bc", u"X", u"a"},
      {u"aaa", 1, 3, u"a", u"aa", u"aaaaaa"},  // the replacement is not searched again
      {u"abab", 1, 4, u"ab", u"", u""},
      {u"aab", 1, 3, u"ab", u"X", u"aX"},
      {u"ABab", 1, 4, u"ab", u"X", u"ABX"},
      {u"a\0b"sv, 1, 3, u"\0"sv, u"-", u"a-b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " " + std::to_string(c.from) + ".." + std::to_string(c.to) + " " +
                 Show(c.old_text) + " -> " + Show(c.new_text));
    EXPECT_EQ(ExchangeText(c.text, c.from, c.to, c.old_text, c.new_text), c.expected);
  }
}

struct TRemoveCase {
  WView text;
  int32_t from;
  WView what;
  WView expected;
};

TEST(RemoveOccurrencesTest, RemovesFromPositionOn) {
  const TRemoveCase cases[] = {
      {u"a-b-c", 1, u"-", u"abc"}, {u"a-b-c", 3, u"-", u"a-bc"},     {u"a--b", 1, u"-", u"ab"},
      {u"abab", 1, u"ab", u""},    {u"aab", 1, u"ab", u"aab"},  // no stepping back after a partial
                                                                // match
      {u"abc", 0, u"x", u""},      {u"abc", INT32_MIN, u"b", u""},   {u"abc", 4, u"x", u"abc"},
      {u"abc", 5, u"x", u""},      {u"abc", INT32_MAX, u"x", u""},   {u"abc", 2, u"", u"abc"},
      {u"", 1, u"x", u""},         {u"a\0b\0"sv, 1, u"\0"sv, u"ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " from " + std::to_string(c.from) + " " + Show(c.what));
    EXPECT_EQ(RemoveOccurrences(c.text, c.from, c.what), c.expected);
  }
}

TEST(RemoveMatchesTest, RemovesEveryWildcardMatch) {
  const TRemoveCase cases[] = {
      {u"a1b2c", 1, u"1*2", u"ac"},
      {u"xaxbx", 1, u"x", u"ab"},
      {u"<b>x</b>y", 4, u"<*>", u"<b>xy"},
      {u"a<b", 1, u"<*>", u"a<b"},
      {u"a1b", 1, u"***", u"a1b"},
      {u"a1b", 1, u"", u"a1b"},
      {u"abc", 0, u"b", u""},
      {u"abc", 4, u"b", u"abc"},
      {u"abc", 5, u"b", u""},
      {u"abc", INT32_MAX, u"b", u""},
      {u"abc", INT32_MIN, u"b", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text) + " from " + std::to_string(c.from) + " " + Show(c.what));
    EXPECT_EQ(RemoveMatches(c.text, c.from, c.what), c.expected);
  }
}

TEST(RemoveTagsTest, SameAsRemovingMatchesOfAnyTag) {
  const struct {
    WView text;
    WView expected;
  } cases[] = {
      {u"<b>bold</b> text", u"bold text"},
      {u"a<b", u"a<b"},
      {u"a<b>c<d", u"ac<d"},
      {u"<<a>>", u">"},
      {u">x<", u">x<"},
      {u"<>", u""},
      {u"", u""},
      {u"a\0<\0>b"sv, u"a\0b"sv},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(RemoveTags(c.text), c.expected);
    EXPECT_EQ(RemoveMatches(c.text, 1, u"<*>"), c.expected);
  }
}

}  // namespace
}  // namespace kovra
