#include "windows/UnitScriptMemoLogic.h"

#include <algorithm>

#include "textlib/UnitEngineDeFunction.h"

namespace kovra {

bool IsDelimiter(char16_t c) {
  constexpr std::u16string_view kDelimiters = u" !\"%'()*+,-./:;=?[\\]^`{}";
  return kDelimiters.find(c) != std::u16string_view::npos;
}

bool IsNumber(std::u16string_view word) {
  return std::all_of(word.begin(), word.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool IsKeyword(std::u16string_view word, const std::vector<std::u16string>& keywords) {
  if (word.empty()) return false;
  const std::u16string lowered = LowerAscii(word);
  return std::any_of(keywords.begin(), keywords.end(),
                     [&](const std::u16string& k) { return LowerAscii(k) == lowered; });
}

std::vector<TColourRun> ColourRuns(std::u16string_view line,
                                   const std::vector<std::u16string>& keywords) {
  std::vector<TColourRun> runs;
  size_t i = 0;
  while (i < line.size()) {
    const size_t start = i;
    const bool delimiters = IsDelimiter(line[i]);
    while (i < line.size() && IsDelimiter(line[i]) == delimiters) ++i;
    TColourRun run{static_cast<int32_t>(start), static_cast<int32_t>(i - start),
                   TRunKind::kDelimiter};
    if (!delimiters) {
      const std::u16string_view word = line.substr(start, i - start);
      run.kind = IsKeyword(word, keywords) ? TRunKind::kKeyword
                 : IsNumber(word)          ? TRunKind::kNumber
                                           : TRunKind::kWord;
    }
    runs.push_back(run);
  }
  return runs;
}

int32_t LeadingSpaces(std::u16string_view line) {
  int32_t n = 0;
  while (static_cast<size_t>(n) < line.size() && line[static_cast<size_t>(n)] == u' ') ++n;
  return n;
}

}  // namespace kovra
