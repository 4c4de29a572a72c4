// Bodies of the built-in functions that need more than one text primitive:
// backward and counted searches, copies between wildcard matches or between
// markers with ignorable characters, range-limited exchange, and removal of
// every occurrence, wildcard match or HTML tag.
//
// Same conventions as the primitives: wide texts, 1-based positions, 0 for
// "not found", and no reads outside the input whatever the positions are.
// Results that are pieces of the input are views into it.
#pragma once

#include <cstdint>

#include "textlib/UnitEngineDeFunction.h"

namespace kovra {

// First position of the occurrence of sub that ends nearest to `from` without
// passing it; 0 when none, when sub is empty or when from < length(sub).
// A from beyond the end counts as the last position.
int32_t FindTextBackward(WView text, int32_t from, WView sub);

// The same over the entries of a list up to its first empty entry: the
// occurrence that ends nearest to `from` wins, and of two that end at the same
// position the earlier entry. 0 when nothing matches or the list starts empty.
int32_t FindAnyTextBackward(WView text, int32_t from, const TTextList& list);

// Start of the count-th occurrence of sub, counting the way repeated
// FindTextEnd calls do: each search resumes one position after the end of the
// previous occurrence, and after the last occurrence the next count finds
// nothing (0) and the one after starts over at position 1. 0 for count < 1.
int32_t FindTextNth(WView text, WView sub, int32_t count);

// What lies strictly between the first match of pattern1 at or after `from`
// and the next match of pattern2 after it; empty when either is missing.
WView CopyBetweenMatches(WView text, int32_t from, WView pattern1, WView pattern2);

struct TSkippingCopy {
  int32_t first = 0;  // where the result begins (or where an incomplete search began)
  int32_t last = 0;   // where mark2 begins; 0 when a mark was not found whole
  WView result;       // the text between the marks, empty when one is missing
  bool operator==(const TSkippingCopy&) const = default;
};

// The text between mark1 and mark2 where characters of `ignorable` may stand
// between the characters of each mark (FindTextSkipping rules: a mark of one
// character is never found whole).
TSkippingCopy CopyBetweenSkipping(WView text, int32_t from, WView mark1, WView mark2,
                                  const TTextList& ignorable);

// Positions 1..to of text with every occurrence of old_text that begins there
// replaced by new_text (an occurrence that begins at or before `to` is
// replaced whole). The text comes back unchanged when from != 1, when to is
// beyond the end, or when old_text is empty and to >= 1.
WStr ExchangeText(WView text, int32_t from, int32_t to, WView old_text, WView new_text);

// The text with every occurrence of sub (FindText rules) at or after `from`
// removed; the part before `from` is kept. Empty for from < 1 or
// from > length + 1.
WStr RemoveOccurrences(WView text, int32_t from, WView sub);

// The same with the matches of a wildcard pattern (WildFind rules).
WStr RemoveMatches(WView text, int32_t from, WView pattern);

// RemoveMatches(text, 1, "<*>"): every '<' with the next '>' after it and all
// between; a '<' that no '>' follows stays with the rest of the text.
WStr RemoveTags(WView text);

}  // namespace kovra
