// The entry bar's decisions: the entry format, the value cycle and the four
// buttons on a list.
#include "windows/UnitEditFormLogic.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

TEST(FormatEntryTest, AlignsValuesWithTheKindsWidth) {
  struct Case {
    int32_t width;
    std::u16string_view kind;
    std::u16string expected;
  };
  const Case cases[] = {
      {21, u"[Match it]", u"[Match it]            V"},  // 12 spaces
      {17, u"[Match it]", u"[Match it]        V"},      // 8: a new script's first entry
      {9, u"[ExUrl]", u"[ExUrl]   V"},
      {9, u"[Allow]", u"[Allow]   V"},
      {11, u"[Filter]", u"[Filter]    V"},
      {15, u"[Exact match]", u"[Exact match]   V"},
      {0, u"", u"V"},                  // a kind-less entry is the bare value
      {0, u"[Other]", u"[Other]V"},    // width 0: no spaces
      {5, u"[Filter]", u"[Filter]V"},  // width below the kind's length
      {8, u"[Filter]", u"[Filter] V"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind.begin(), c.kind.end()) + " width " + std::to_string(c.width));
    EXPECT_EQ(FormatEntry(c.width, c.kind, u"V"), c.expected);
  }
}

TEST(FormatEntryTest, WidthsByKind) {
  EXPECT_EQ(FormatEntry(EntryWidth(u"[ExUrl]"), u"[ExUrl]", u"All Allow"), u"[ExUrl]   All Allow");
  EXPECT_EQ(FormatEntry(EntryWidth(u"[Match it]"), u"[Match it]", u"x"),
            u"[Match it]            x");
  EXPECT_EQ(EntryWidth(u"[Exact Match]"), 0);  // the bar's spelling only
  EXPECT_EQ(EntryWidth(u""), 0);
  EXPECT_EQ(EntryKindIndex(u"[Filter]"), 2);
  EXPECT_EQ(EntryKindIndex(u"[filter]"), -1);
}

TEST(ExUrlCycleTest, DoubleClicksCycleTheThreeWords) {
  std::u16string value = u"All Allow";
  const std::u16string expected[] = {u"All Filter", u"Default", u"All Allow"};
  for (const std::u16string& next : expected) {
    auto cycled = NextExUrlValue(value);
    ASSERT_TRUE(cycled.has_value());
    EXPECT_EQ(*cycled, next);
    value = *cycled;
  }
  EXPECT_EQ(NextExUrlValue(u"  all   ALLOW "), u"All Filter");
  EXPECT_EQ(NextExUrlValue(u"DEFAULT"), u"All Allow");
  EXPECT_FALSE(NextExUrlValue(u"All\tAllow").has_value());  // only spaces are ignored
  EXPECT_FALSE(NextExUrlValue(u"http://x.test/").has_value());
  EXPECT_FALSE(NextExUrlValue(u"").has_value());
}

TEST(BarButtonTest, ButtonsOnAList) {
  const TEntryList three{{u"a", u"b", u"c"}, 1};
  const TEntryList none_selected{{u"a", u"b", u"c"}, -1};
  struct Case {
    const char* name;
    TEntryList list;
    TBarButton button;
    TEntryList expected;
  };
  const Case cases[] = {
      {"ok replaces the selected entry", three, TBarButton::kOk, {{u"a", u"E", u"c"}, 1}},
      {"ok without selection adds at the end",
       none_selected,
       TBarButton::kOk,
       {{u"a", u"b", u"c", u"E"}, 3}},
      {"ok on an empty list", {}, TBarButton::kOk, {{u"E"}, 0}},
      {"add keeps the selection", three, TBarButton::kAdd, {{u"a", u"b", u"c", u"E"}, 1}},
      {"delete selects the last", three, TBarButton::kDelete, {{u"a", u"c"}, 1}},
      {"delete the only entry", {{u"a"}, 0}, TBarButton::kDelete, {{}, -1}},
      {"delete without selection", none_selected, TBarButton::kDelete, {{u"a", u"b", u"c"}, 2}},
      {"cancel changes nothing", three, TBarButton::kCancel, three},
      {"cancel selects the last when none is",
       none_selected,
       TBarButton::kCancel,
       {{u"a", u"b", u"c"}, 2}},
      {"a stale selection counts as none", {{u"a"}, 4}, TBarButton::kOk, {{u"a", u"E"}, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEntryList list = c.list;
    ApplyBarButton(list, c.button, u"E");
    EXPECT_EQ(list, c.expected);
  }
}

}  // namespace
}  // namespace kovra
