#include "windows/UnitScriptEditorLogic.h"

#include <algorithm>
#include <initializer_list>

#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"
#include "textlib/UnitUrlFunctions.h"

namespace kovra {

std::vector<std::u16string> TextLines(std::u16string_view text) {
  const std::vector<std::u16string_view> views = SplitTextLines(text);
  return std::vector<std::u16string>(views.begin(), views.end());
}

std::u16string LinesText(const std::vector<std::u16string>& lines) {
  std::u16string out;
  for (const std::u16string& line : lines) {
    out += line;
    out += u"\r\n";
  }
  return out;
}

std::u16string DefaultScriptName(std::string_view url) {
  const std::string domain = MainDomain(url);
  return ToWide(FirstLabel(domain));
}

TManagerContent NewScriptContent(std::string_view url, std::string_view filter_url) {
  TManagerContent c;
  c.name = DefaultScriptName(url);
  c.url_match.items.push_back(FormatEntry(17, u"[Match it]", ToWide(url)));
  c.url_match.selected = 0;
  c.script_lines = {u"[Script]", u"", u"", u"", u"[/Script]"};
  c.navigate.items.push_back(FormatEntry(11, u"[Filter]", ToWide(filter_url)));
  c.navigate.selected = 0;
  return c;
}

TScripts LibraryFields(const TManagerContent& content) {
  TScripts e;
  e.Name = ToNarrow(content.name);
  for (const std::u16string& item : content.url_match.items) e.UrlMatch.push_back(ToNarrow(item));
  for (const std::u16string& item : content.navigate.items)
    e.Navigate2Set.push_back(ToNarrow(item));
  e.Script = ToNarrow(LinesText(content.script_lines));
  return e;
}

std::vector<std::u16string> BarKindItems(int32_t list_tag) {
  if (list_tag == 0) return {u"[Match it]", u"[Exact match]"};
  return {u"[ExUrl]", u"[Allow]", u"[Filter]"};
}

TBarEntry SplitEntryForBar(std::u16string_view entry) {
  TBarEntry out;
  const std::u16string_view text = TrimLeftSpaces(entry);
  const size_t bracket = text.find(u']');
  if (!text.starts_with(u'[') || bracket == std::u16string_view::npos) return out;
  out.has_kind = true;
  out.kind = text.substr(0, bracket + 1);
  out.value = TrimLeftSpaces(text.substr(bracket + 1));
  return out;
}

int32_t FindKindItem(const std::vector<std::u16string>& items, std::u16string_view kind) {
  const std::u16string wanted = LowerAscii(kind);
  for (size_t i = 0; i < items.size(); ++i) {
    if (LowerAscii(items[i]) == wanted) return static_cast<int32_t>(i);
  }
  return -1;
}

TBarPlace PlaceBar(int32_t pointer_x, int32_t pointer_y, int32_t bar_width, int32_t screen_width) {
  TBarPlace place{pointer_x, pointer_y + 10};
  if (place.left + bar_width > screen_width) place.left = screen_width - bar_width;
  return place;
}

namespace {

// Sets heights[index] to `value` and takes the difference from the donors,
// in order: first what they have above 55 pixels, then, in a window too
// small for that, down to nothing.
void Grow(TGroupHeights& heights, size_t index, int32_t value,
          std::initializer_list<size_t> donors) {
  int32_t need = value - heights[index];
  heights[index] = value;
  for (int32_t floor : {55, 0}) {
    for (size_t d : donors) {
      const int32_t give = std::clamp(need, 0, std::max(heights[d] - floor, 0));
      heights[d] -= give;
      need -= give;
    }
  }
}

}  // namespace

TGroupHeights AfterSplitter2Moved(TGroupHeights h) {
  if (h[0] < 50) Grow(h, 0, 55, {1, 2});
  return h;
}

TGroupHeights AfterSplitter1Moved(TGroupHeights h) {
  if (h[1] < 50) Grow(h, 1, 55, {2, 0});
  if (h[2] < 100) Grow(h, 2, 100, {1, 0});
  return h;
}

std::u16string HeaderEditorMatchUrl(const TEntryList& url_match) {
  if (url_match.items.empty()) return {};
  const bool has_selection =
      url_match.selected >= 0 && static_cast<size_t>(url_match.selected) < url_match.items.size();
  const std::u16string& entry = has_selection
                                    ? url_match.items[static_cast<size_t>(url_match.selected)]
                                    : url_match.items.back();
  const size_t bracket = entry.find(u']');
  const std::u16string_view value =
      bracket == std::u16string::npos
          ? std::u16string_view()
          : TrimLeftSpaces(std::u16string_view(entry).substr(bracket + 1));
  std::u16string out = u"'";
  out += value;
  out += u'\'';
  return out;
}

}  // namespace kovra
