// What the registry of script manager windows decides, apart from the
// windows: the address cut used for matching, whether a window's URL-match
// list covers a page, what reusing a window does to its navigation list, and
// the content of a new window filled from a library entry.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "library/UnitProcCommonDataTypeLibrary.h"
#include "windows/UnitScriptEditorLogic.h"

namespace kovra {

// Page addresses are matched on their first 250 bytes.
inline constexpr size_t kEditorUrlLimit = 250;
std::string_view CutEditorUrl(std::string_view url);

// The value of a window's list entry: the text after its first "]" without
// leading spaces; empty for an entry without "]".
std::u16string_view WindowEntryValue(std::u16string_view entry);

// True when one of the URL-match entries, taken as a pattern, matches the
// (cut) address; the kinds are not looked at.
bool EntriesMatchUrl(const std::vector<std::u16string>& url_match, std::string_view cut_url);

// "[Filter]    " followed by the address.
std::u16string FilterEntry(std::string_view filter_url);

// Reusing an open window for a page with a filter address. False when the
// filter address's main domain already occurs in the navigation list's text:
// the window is then neither changed nor shown. Otherwise the filter entry
// is appended (or, for an empty filter address, only into an empty list),
// the last entry is selected, and the window is to be shown.
bool ReuseNavigation(TEntryList& navigate, std::string_view filter_url);

// A new window for an existing library entry: the name without spaces and
// tabs, both lists in reverse of the stored order (the last entry of each
// selected), a "[Filter]" entry for a non-empty filter address (or for an
// empty list), and the script without its leading blank lines and without
// the empty last line the file's writer adds.
TManagerContent ContentFromLibraryEntry(const TScripts& entry, std::string_view filter_url);

}  // namespace kovra
