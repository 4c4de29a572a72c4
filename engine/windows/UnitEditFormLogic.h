// What the entry bar decides, apart from its window: the list entry format
// that the whole script manager uses (FormatEntry), the kinds with their tips
// and widths, the value cycle of "[ExUrl]" values, and what the bar's four
// buttons do to the list they edit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

// The kinds the bar offers, in table order; their tips and the widths the
// bar formats them with.
inline constexpr std::array<std::u16string_view, 5> kEntryKinds = {
    u"[ExUrl]", u"[Allow]", u"[Filter]", u"[Match it]", u"[Exact match]"};
inline constexpr std::array<std::u16string_view, 5> kEntryTips = {
    u"[ExUrl]，设置是否允许外站跳转。可选 All Allow / All Filter / "
    u"Default,双击可进行切换。（全允许/全过滤/默认）",
    u"[Allow]，允许从当前网站跳转/弹出这个网址的窗口。（可使用通配符 * 设定网址）",
    u"[Filter]，过滤从当前网站跳转/弹出这个网址的窗口。（可使用通配符 * 设定网址）",
    u"[Match it]，匹配当前指定的网址。支持通配符 *",
    u"[Exact match]，完全匹配当前指定的网址。不支持通配符",
};
inline constexpr std::array<int32_t, 5> kEntryWidths = {9, 9, 11, 21, 15};

// The table index of a kind (exact comparison), -1 for any other text.
int32_t EntryKindIndex(std::u16string_view kind);
// The width the bar writes a kind with; 0 for a kind not in the table.
int32_t EntryWidth(std::u16string_view kind);

// kind, width - length(kind) + 1 spaces, value. No spaces when the width is 0
// or smaller than the kind, so a kind-less entry is the bare value.
std::u16string FormatEntry(int32_t width, std::u16string_view kind, std::u16string_view value);

// The double-click cycle "All Allow" -> "All Filter" -> "Default" ->
// "All Allow", read with ASCII case and spaces ignored; nothing for any
// other value.
std::optional<std::u16string> NextExUrlValue(std::u16string_view value);

// One of the two lists of a manager window: its entries and the selected
// one (-1 for none).
struct TEntryList {
  std::vector<std::u16string> items;
  int32_t selected = -1;

  bool operator==(const TEntryList&) const = default;
};

// The bar's buttons, by their Tag.
enum class TBarButton : int32_t { kOk = 1, kCancel = 2, kAdd = 3, kDelete = 4 };

// What a button does to the target list, `entry` being the entry the bar
// built. Afterwards a list that has entries but no selection selects its
// last one.
void ApplyBarButton(TEntryList& list, TBarButton button, std::u16string_view entry);

}  // namespace kovra
