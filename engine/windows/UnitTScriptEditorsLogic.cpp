#include "windows/UnitTScriptEditorsLogic.h"

#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"
#include "textlib/UnitUrlFunctions.h"

namespace kovra {

std::string_view CutEditorUrl(std::string_view url) {
  return url.substr(0, kEditorUrlLimit);
}

std::u16string_view WindowEntryValue(std::u16string_view entry) {
  const size_t bracket = entry.find(u']');
  if (bracket == std::u16string_view::npos) return {};
  return TrimLeftSpaces(entry.substr(bracket + 1));
}

bool EntriesMatchUrl(const std::vector<std::u16string>& url_match, std::string_view cut_url) {
  const TUrlPatternMatcher address(cut_url);
  for (const std::u16string& entry : url_match) {
    if (address.Matches(ToNarrow(WindowEntryValue(entry)))) return true;
  }
  return false;
}

std::u16string FilterEntry(std::string_view filter_url) {
  return FormatEntry(11, u"[Filter]", ToWide(filter_url));
}

bool ReuseNavigation(TEntryList& navigate, std::string_view filter_url) {
  if (!filter_url.empty()) {
    const std::u16string domain = ToWide(MainDomain(filter_url));
    if (FindTextStart(LinesText(navigate.items), 1, domain) > 0) return false;
    navigate.items.push_back(FilterEntry(filter_url));
  }
  if (navigate.items.empty()) navigate.items.push_back(FilterEntry(filter_url));
  navigate.selected = static_cast<int32_t>(navigate.items.size()) - 1;
  return true;
}

TManagerContent ContentFromLibraryEntry(const TScripts& entry, std::string_view filter_url) {
  TManagerContent c;
  c.name = RemoveChars(ToWide(entry.Name), {u' ', u'\t'});
  for (auto it = entry.UrlMatch.rbegin(); it != entry.UrlMatch.rend(); ++it)
    c.url_match.items.push_back(ToWide(*it));
  if (!c.url_match.items.empty())
    c.url_match.selected = static_cast<int32_t>(c.url_match.items.size()) - 1;
  for (auto it = entry.Navigate2Set.rbegin(); it != entry.Navigate2Set.rend(); ++it) {
    c.navigate.items.push_back(ToWide(*it));
  }
  if (!filter_url.empty() || c.navigate.items.empty())
    c.navigate.items.push_back(FilterEntry(filter_url));
  c.navigate.selected = static_cast<int32_t>(c.navigate.items.size()) - 1;
  c.script_lines = TextLines(ToWide(entry.Script));
  // The file's blank lines between "[/Navigate2 Set]" and the script stay
  // out of the memo.
  size_t blank = 0;
  while (blank < c.script_lines.size() && RemoveChars(c.script_lines[blank], {u' ', u'\t'}).empty())
    ++blank;
  c.script_lines.erase(c.script_lines.begin(),
                       c.script_lines.begin() + static_cast<std::ptrdiff_t>(blank));
  // The file's writer puts one line end after the script's own last one;
  // read back, that is an empty last line. It stays out of the memo, so
  // that saving again writes the same file instead of one more line.
  if (!c.script_lines.empty() && c.script_lines.back().empty()) c.script_lines.pop_back();
  return c;
}

}  // namespace kovra
