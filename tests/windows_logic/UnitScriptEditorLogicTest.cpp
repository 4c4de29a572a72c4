// The script manager window's decisions: a new script's content, the library
// fields, the bar's opening, the splitter limits, the header editor's match
// address.
#include "windows/UnitScriptEditorLogic.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

TEST(NewScriptTest, ContentForAPage) {
  const TManagerContent c =
      NewScriptContent("http://news.example.com.cn/a/b.html?x=1", "about:blank");
  EXPECT_EQ(c.name, u"example");
  EXPECT_EQ(c.url_match,
            (TEntryList{{u"[Match it]        http://news.example.com.cn/a/b.html?x=1"}, 0}));
  EXPECT_EQ(c.navigate, (TEntryList{{u"[Filter]    about:blank"}, 0}));
  EXPECT_EQ(c.script_lines,
            (std::vector<std::u16string>{u"[Script]", u"", u"", u"", u"[/Script]"}));

  const TScripts fields = LibraryFields(c);
  EXPECT_EQ(fields.Name, "example");
  EXPECT_EQ(
      fields.UrlMatch,
      (std::vector<std::string>{"[Match it]        http://news.example.com.cn/a/b.html?x=1"}));
  EXPECT_EQ(fields.Navigate2Set, (std::vector<std::string>{"[Filter]    about:blank"}));
  EXPECT_EQ(fields.Script, "[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");
}

TEST(NewScriptTest, DefaultNames) {
  EXPECT_EQ(DefaultScriptName("http://www.example.com/"), u"example");
  EXPECT_EQ(DefaultScriptName("http://localhost:8080/x"), u"localhost");
  EXPECT_EQ(DefaultScriptName(""), u"");
  // An empty filter address still makes the "[Filter]" entry.
  EXPECT_EQ(NewScriptContent("http://a.test/", "").navigate.items,
            (std::vector<std::u16string>{u"[Filter]    "}));
}

TEST(MemoLinesTest, FinalLineEndClosesTheLastLine) {
  struct Case {
    std::u16string_view text;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\n\nb\r", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"\r\n\r\n", {u"", u""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(TextLines(c.text), c.lines);
  }
  EXPECT_EQ(LinesText({u"a", u"", u"b"}), u"a\r\n\r\nb\r\n");
  EXPECT_EQ(TextLines(LinesText({u"a", u""})), (std::vector<std::u16string>{u"a", u""}));
}

TEST(BarOpeningTest, SplitsTheClickedEntry) {
  struct Case {
    std::u16string_view entry;
    bool has_kind;
    std::u16string kind;
    std::u16string value;
  };
  const Case cases[] = {
      {u"[Exact Match]   www.a.test/x", true, u"[Exact Match]", u"www.a.test/x"},
      {u"  [Filter]    a b ", true, u"[Filter]", u"a b "},
      {u"[ExUrl]", true, u"[ExUrl]", u""},
      {u"plain text", false, u"", u""},  // no kind: the value stays empty too
      {u"[open only", false, u"", u""},
      {u"x [Allow] y", false, u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.entry.begin(), c.entry.end()));
    const TBarEntry e = SplitEntryForBar(c.entry);
    EXPECT_EQ(e.has_kind, c.has_kind);
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.value, c.value);
  }
  const std::vector<std::u16string> match = BarKindItems(0);
  const std::vector<std::u16string> navigate = BarKindItems(1);
  EXPECT_EQ(FindKindItem(match, u"[Exact Match]"), 1);  // as script files spell it
  EXPECT_EQ(FindKindItem(match, u"[MATCH IT]"), 0);
  EXPECT_EQ(FindKindItem(navigate, u"[exurl]"), 0);
  EXPECT_EQ(FindKindItem(navigate, u"[Match it]"), -1);
  EXPECT_EQ(BarTarget(0), 1);
  EXPECT_EQ(BarTarget(1), 2);
}

TEST(BarOpeningTest, PlacedBelowThePointerInsideTheScreen) {
  const TBarPlace inside = PlaceBar(100, 200, 866, 1920);
  EXPECT_EQ(inside.left, 100);
  EXPECT_EQ(inside.top, 210);
  const TBarPlace pulled = PlaceBar(1500, 0, 866, 1920);
  EXPECT_EQ(pulled.left, 1920 - 866);
  EXPECT_EQ(pulled.top, 10);
  EXPECT_EQ(PlaceBar(1054, 0, 866, 1920).left, 1054);  // ends exactly at the edge
}

TEST(SplitterLimitsTest, GroupsKeepTheirMinimumHeights) {
  struct Case {
    const char* name;
    int splitter;
    TGroupHeights before;
    TGroupHeights after;
  };
  const Case cases[] = {
      {"url group dragged to 40", 2, {40, 180, 300}, {55, 165, 300}},
      {"url group of 50 stays", 2, {50, 170, 300}, {50, 170, 300}},
      {"navigation group dragged to 40", 1, {106, 40, 374}, {106, 55, 359}},
      {"navigation group of 50 stays", 1, {106, 50, 364}, {106, 50, 364}},
      {"script area squeezed to 60", 1, {106, 354, 60}, {106, 314, 100}},
      {"both limits", 1, {400, 40, 110}, {395, 55, 100}},
      {"a tiny window", 1, {30, 30, 40}, {0, 0, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TGroupHeights after =
        c.splitter == 2 ? AfterSplitter2Moved(c.before) : AfterSplitter1Moved(c.before);
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(after[0] + after[1] + after[2], c.before[0] + c.before[1] + c.before[2]);
  }
}

TEST(HeaderEditorMatchUrlTest, SelectedOrLastEntryInQuotes) {
  const TEntryList list{{u"[Match it]            a.test", u"[Exact Match]   b.test/x"}, 0};
  EXPECT_EQ(HeaderEditorMatchUrl(list), u"'a.test'");
  EXPECT_EQ(HeaderEditorMatchUrl({list.items, -1}), u"'b.test/x'");
  EXPECT_EQ(HeaderEditorMatchUrl({{u"no bracket"}, -1}), u"''");
  EXPECT_EQ(HeaderEditorMatchUrl({}), u"");
}

}  // namespace
}  // namespace kovra
