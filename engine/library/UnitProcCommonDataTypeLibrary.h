// TScripts: one entry of the script library, as read from its script file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kovra {

// Texts are 8-bit, in the engine code page. List entries are in display
// form: a kind in square brackets, aligning spaces, the value; readers take
// the value as the text after the first "]" with leading spaces removed.
struct TScripts {
  uint32_t ID = 0;                        // 1-based position in the library; never changes
  std::string Name;                       // the name line of the file, as read
  std::vector<std::string> UrlMatch;      // "[Exact Match]   value", "[Match it]            value"
  std::vector<std::string> Navigate2Set;  // "[ExUrl]   value", "[Allow]   value", "[Filter]    value"
  std::string Script;                     // the script section, every line followed by CR LF
};

// The value of a list entry: the text after the first "]", leading spaces
// removed (the whole entry, so trimmed, when it has no "]").
std::string_view EntryValue(std::string_view entry);

}  // namespace kovra
