// What the script manager window decides, apart from its widgets: the content
// of a window for a new script, the library entry a window's content makes,
// how a clicked list entry opens the entry bar, where the bar goes, the
// splitter limits, and the match address handed to the header editor.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/UnitProcCommonDataTypeLibrary.h"
#include "windows/UnitEditFormLogic.h"

namespace kovra {

// What a manager window shows: the name, the URL-match list (LUrlMatch), the
// navigation list (Ln2) and the lines of the script memo.
struct TManagerContent {
  std::u16string name;
  TEntryList url_match;
  TEntryList navigate;
  std::vector<std::u16string> script_lines;

  bool operator==(const TManagerContent&) const = default;
};

// Lines of a text the way a memo takes them: CR LF, LF or CR end a line, and
// a line end at the very end closes the last line (it opens no empty one).
std::vector<std::u16string> TextLines(std::u16string_view text);
// The memo's text as the library holds it: every line followed by CR LF.
std::u16string LinesText(const std::vector<std::u16string>& lines);

// The default name of a new script: its page's main domain up to the first
// "." ("example" for http://www.example.com/).
std::u16string DefaultScriptName(std::string_view url);

// A window set up for a new script for the page: the default name, one
// "[Match it]" entry with the whole address, the empty script frame, one
// "[Filter]" entry for the filter address; both entries selected.
TManagerContent NewScriptContent(std::string_view url, std::string_view filter_url);

// The library entry's fields (ID left 0) from the window's content, lists
// in list order, texts in the engine code page.
TScripts LibraryFields(const TManagerContent& content);

// The two kind lists of the entry bar: for LUrlMatch (Tag 0) and Ln2 (Tag 1).
std::vector<std::u16string> BarKindItems(int32_t list_tag);
// The bar's target number for a list: 1 for LUrlMatch, 2 for Ln2.
inline int32_t BarTarget(int32_t list_tag) {
  return list_tag == 0 ? 1 : 2;
}

// A clicked entry as the bar shows it. The kind is set only when the entry
// (leading spaces removed) starts with "[" and holds a "]"; the value is then
// the text after that "]" without leading spaces, else empty.
struct TBarEntry {
  std::u16string kind;
  std::u16string value;
  bool has_kind = false;
};
TBarEntry SplitEntryForBar(std::u16string_view entry);
// The first item equal to the kind with ASCII case ignored, or -1.
int32_t FindKindItem(const std::vector<std::u16string>& items, std::u16string_view kind);

// Where the bar opens for a click at the pointer: left edge at the pointer,
// top edge 10 pixels below it, pulled left so that it ends at the screen's
// right edge when it would pass it.
struct TBarPlace {
  int32_t left = 0;
  int32_t top = 0;
};
TBarPlace PlaceBar(int32_t pointer_x, int32_t pointer_y, int32_t bar_width, int32_t screen_width);

// Heights of the URL-match group, the navigation group and the script area
// below the second splitter.
using TGroupHeights = std::array<int32_t, 3>;
// The limits applied after Splitter2 (between the URL-match and navigation
// groups) was moved: a URL-match group under 50 pixels becomes 55, taking
// the height from the navigation group first. The total stays.
TGroupHeights AfterSplitter2Moved(TGroupHeights heights);
// After Splitter1 (above the script area): a navigation group under 50
// pixels becomes 55 (from the script area first), then a script area under
// 100 becomes 100 (from the navigation group first).
TGroupHeights AfterSplitter1Moved(TGroupHeights heights);

// The match address for the header editor: the selected URL-match entry's
// value, or the last entry's when none is selected, in single quotes; empty
// for an empty list.
std::u16string HeaderEditorMatchUrl(const TEntryList& url_match);

}  // namespace kovra
