// What the highlighting script memo decides, apart from its painting: how a
// line splits into coloured runs (delimiters, keywords, numbers, other
// words), and the indentation Enter carries to the new line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

// The 24 delimiters: space ! " % ' ( ) * + , - . / : ; = ? [ \ ] ^ ` { }.
// Every other character (letters, digits, # $ & < > @ _ | ~, control
// characters, everything above 126) belongs to words.
bool IsDelimiter(char16_t c);
// True when every character is a digit 0-9.
bool IsNumber(std::u16string_view word);
// True when the word equals one of the keywords with ASCII case ignored;
// false for the empty word.
bool IsKeyword(std::u16string_view word, const std::vector<std::u16string>& keywords);

enum class TRunKind : uint8_t { kDelimiter, kKeyword, kNumber, kWord };

// A run of one line: `start` and `length` in code units from the line start.
struct TColourRun {
  int32_t start = 0;
  int32_t length = 0;
  TRunKind kind = TRunKind::kWord;

  bool operator==(const TColourRun&) const = default;
};

// The line from its start as alternating runs of delimiters and of word
// characters; empty runs are left out.
std::vector<TColourRun> ColourRuns(std::u16string_view line,
                                   const std::vector<std::u16string>& keywords);

// The number of space characters the line starts with (tabs do not count).
int32_t LeadingSpaces(std::u16string_view line);

}  // namespace kovra
