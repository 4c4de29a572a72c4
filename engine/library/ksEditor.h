// The header block inside a script's script section: the script's name, the
// page addresses it serves, its run options, its declarations and its body,
// parsed into TScriptHeader and composed back into text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra {

enum class TMatchMode : uint8_t { ExactMatch = 0, xMatchLong = 1, xMatchShort = 2 };
enum class TEntryPoint : uint8_t { Auto = 0, NowDocunent = 1 };

struct TScriptHeader {
  std::u16string ParserVersion = u"1";
  std::u16string Name = u"de_nowage";
  std::u16string MatchUrl = u"'NowPage'";
  TMatchMode MatchMode = TMatchMode::xMatchLong;
  TEntryPoint EntryPoint = TEntryPoint::Auto;
  bool NeedResult = true;
  bool ResultToNewPage = false;
  std::u16string DefineVariant;
  std::u16string ScriptContent;
};

// Reads the three blocks ("[Header Message]", "[Define Variant]",
// "[Script Content]") wherever they stand, in that order; a missing block
// leaves the defaults. Header values are read from the header with every
// blank removed and lower-cased, so Name and MatchUrl come back in lower case
// without blanks.
TScriptHeader ParseScriptText(std::u16string_view text);

// The script section "[Script]" ... "[/Script]" for the header, CR LF line
// ends, no line end after "[/Script]".
std::u16string ComposeScriptText(const TScriptHeader& header);

// The header's match list split into its patterns: 'a'+'b' gives a and b (a
// doubled quote inside a quoted pattern does not end it; one pair of quotes
// is removed from each part).
std::vector<std::u16string_view> MatchPatterns(std::u16string_view match_url);

std::u16string_view MatchModeWord(TMatchMode mode);
std::u16string_view EntryPointWord(TEntryPoint point);

}  // namespace kovra
