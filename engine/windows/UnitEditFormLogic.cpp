#include "windows/UnitEditFormLogic.h"

#include "textlib/UnitEngineDeFunction.h"

namespace kovra {

int32_t EntryKindIndex(std::u16string_view kind) {
  for (size_t i = 0; i < kEntryKinds.size(); ++i) {
    if (kEntryKinds[i] == kind) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t EntryWidth(std::u16string_view kind) {
  const int32_t i = EntryKindIndex(kind);
  return i < 0 ? 0 : kEntryWidths[static_cast<size_t>(i)];
}

std::u16string FormatEntry(int32_t width, std::u16string_view kind, std::u16string_view value) {
  std::u16string out(kind);
  const int64_t length = static_cast<int64_t>(kind.size());
  if (width > 0 && width >= length) out.append(static_cast<size_t>(width - length + 1), u' ');
  out += value;
  return out;
}

std::optional<std::u16string> NextExUrlValue(std::u16string_view value) {
  const std::u16string word = LowerAscii(RemoveChars(value, {u' '}));
  if (word == u"allallow") return u"All Filter";
  if (word == u"allfilter") return u"Default";
  if (word == u"default") return u"All Allow";
  return std::nullopt;
}

void ApplyBarButton(TEntryList& list, TBarButton button, std::u16string_view entry) {
  const bool has_selection =
      list.selected >= 0 && static_cast<size_t>(list.selected) < list.items.size();
  switch (button) {
    case TBarButton::kOk:
      if (has_selection) {
        list.items[static_cast<size_t>(list.selected)] = entry;
      } else {
        list.items.emplace_back(entry);
      }
      break;
    case TBarButton::kAdd:
      list.items.emplace_back(entry);
      break;
    case TBarButton::kDelete:
      if (has_selection) {
        list.items.erase(list.items.begin() + list.selected);
        list.selected = -1;
      }
      break;
    case TBarButton::kCancel:
      break;
  }
  if (list.selected >= static_cast<int32_t>(list.items.size())) list.selected = -1;
  if (!list.items.empty() && list.selected < 0)
    list.selected = static_cast<int32_t>(list.items.size()) - 1;
}

}  // namespace kovra
