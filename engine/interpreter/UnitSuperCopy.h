// The block matcher: cuts one control statement (if, repeat, while, for) out
// of a statement sequence into its parts and finds where it ends. It only
// matches keywords, quotes, begin/end blocks and the terminator ';'; it knows
// nothing of variables or values.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kovra {

// Parts are views into the text given to SuperCopy, letter case and blanks
// kept. end: 0 = the statement does not match, -1 = it matches but is
// incomplete, else the 1-based position just behind the statement.
struct TCopy_ANResult {
  std::vector<std::u16string_view> parts;
  int32_t count = 0;
  int32_t end = 0;
  bool too_deep = false;  // nested statements went past kMaxNesting
};

// How many control statements may nest inside one another.
inline constexpr int32_t kMaxNesting = 200;

// Matches the statement whose first word (lower case) is `word`, starting at
// the 1-based position `start`. `depth` counts the statements it is nested in.
TCopy_ANResult SuperCopy(std::u16string_view text, int32_t start, std::u16string_view word,
                         int32_t depth = 0);

}  // namespace kovra
