// The registry's decisions: the address cut, matching a window's URL-match
// list, reusing a window's navigation list, and a window filled from a
// library entry.
#include "windows/UnitTScriptEditorsLogic.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "library/UnitTScriptLibrary.h"

namespace kovra {
namespace {

TEST(EditorUrlTest, MatchesOnTheFirst250Bytes) {
  const std::string url = "http://a.test/" + std::string(237, 'p');  // 251 bytes
  ASSERT_EQ(url.size(), 251u);
  EXPECT_EQ(CutEditorUrl(url), url.substr(0, 250));
  EXPECT_EQ(CutEditorUrl(url.substr(0, 250)), url.substr(0, 250));

  // A pattern of the whole address asks for more than the cut address has.
  const std::u16string whole = u"[Match it]   " + std::u16string(url.begin(), url.end());
  const std::u16string first250 = u"[Match it]   " + std::u16string(url.begin(), url.begin() + 250);
  EXPECT_FALSE(EntriesMatchUrl({whole}, CutEditorUrl(url)));
  EXPECT_TRUE(EntriesMatchUrl({first250}, CutEditorUrl(url)));
}

TEST(EditorUrlTest, EntryValuesAsPatterns) {
  const std::string page = "http://www.shop.test/item/7";
  EXPECT_FALSE(EntriesMatchUrl({}, page));
  EXPECT_TRUE(EntriesMatchUrl({u"[Exact Match]   *.shop.test"}, page));
  EXPECT_TRUE(EntriesMatchUrl({u"[Other]shop.test/item"}, page));  // the kind is not looked at
  EXPECT_FALSE(EntriesMatchUrl({u"www.shop.test"}, page));  // no "]": empty value, matches nothing
  EXPECT_FALSE(EntriesMatchUrl({u"[Match it]  "}, page));
  EXPECT_TRUE(EntriesMatchUrl({u"[Match it]   other.test", u"[Match it]   shop.test"}, page));
  EXPECT_EQ(WindowEntryValue(u"[Filter]    a b"), u"a b");
  EXPECT_EQ(WindowEntryValue(u"a b"), u"");
}

TEST(ReuseTest, FilterDomainAlreadyListedLeavesTheWindowAlone) {
  struct Case {
    const char* name;
    TEntryList navigate;
    std::string_view filter;
    bool reused;
    TEntryList expected;
  };
  const TEntryList about{{u"[Filter]    about:blank"}, -1};
  const Case cases[] = {
      // ViewEditor passes "about:blank", whose domain "about" every window
      // opened by ViewEditor already holds.
      {"about quirk", about, "about:blank", false, about},
      {"domain inside another entry",
       {{u"[Allow]   *.ads.example.com"}, 0},
       "http://x.example.com/p",
       false,
       {{u"[Allow]   *.ads.example.com"}, 0}},
      {"new domain appended and selected",
       about,
       "http://pop.tracker.test/x",
       true,
       {{u"[Filter]    about:blank", u"[Filter]    http://pop.tracker.test/x"}, 1}},
      {"empty filter, empty list", {}, "", true, {{u"[Filter]    "}, 0}},
      {"empty filter, entries kept",
       {{u"[ExUrl]   Default", u"[Allow]   a.test"}, 0},
       "",
       true,
       {{u"[ExUrl]   Default", u"[Allow]   a.test"}, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEntryList navigate = c.navigate;
    EXPECT_EQ(ReuseNavigation(navigate, c.filter), c.reused);
    EXPECT_EQ(navigate, c.expected);
  }
}

TEST(LibraryWindowTest, ListsReversedAndScriptTrimmedAtTheTop) {
  TScripts entry;
  entry.ID = 3;
  entry.Name = "\tmy site\t";
  entry.UrlMatch = {"[Match it]            a.test", "[Exact Match]   b.test"};
  entry.Navigate2Set = {"[ExUrl]   Default", "[Allow]   ok.test", "[Filter]    bad.test"};
  entry.Script = "\r\n  \r\n\t\r\n[Script]\r\n\r\n  body\r\n[/Script]\r\n";

  const TManagerContent c = ContentFromLibraryEntry(entry, "about:blank");
  EXPECT_EQ(c.name, u"mysite");
  EXPECT_EQ(c.url_match,
            (TEntryList{{u"[Exact Match]   b.test", u"[Match it]            a.test"}, 1}));
  EXPECT_EQ(c.navigate, (TEntryList{{u"[Filter]    bad.test", u"[Allow]   ok.test",
                                     u"[ExUrl]   Default", u"[Filter]    about:blank"},
                                    3}));
  EXPECT_EQ(c.script_lines,
            (std::vector<std::u16string>{u"[Script]", u"", u"  body", u"[/Script]"}));

  // No filter entry for an empty filter address when the list has entries.
  EXPECT_EQ(ContentFromLibraryEntry(entry, "").navigate.items.size(), 3u);
  TScripts empty;
  const TManagerContent bare = ContentFromLibraryEntry(empty, "");
  EXPECT_EQ(bare.url_match, TEntryList{});
  EXPECT_EQ(bare.navigate, (TEntryList{{u"[Filter]    "}, 0}));
  empty.Script = " \r\n\t\r\n";
  EXPECT_TRUE(ContentFromLibraryEntry(empty, "").script_lines.empty());
}

TEST(LibraryWindowTest, SavingWhatWasReadWritesTheSameFile) {
  TScripts entry;
  entry.Name = "site";
  entry.UrlMatch = {"[Match it]            a.test", "[Exact Match]   b.test"};
  entry.Navigate2Set = {"[ExUrl]   Default", "[Filter]    c.test"};
  entry.Script = "[Script]\r\n  body\r\n\r\n[/Script]\r\n";
  std::string file = ComposeScriptFile(entry);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const TScripts read = ReadScriptFile(file);
    TManagerContent shown = ContentFromLibraryEntry(read, "");
    // The window lists in reverse; saving writes them as the window shows them.
    std::reverse(shown.url_match.items.begin(), shown.url_match.items.end());
    std::reverse(shown.navigate.items.begin(), shown.navigate.items.end());
    const std::string again = ComposeScriptFile(LibraryFields(shown));
    EXPECT_EQ(again, file);
    file = again;
  }
  // A hand-written script's own last line stays.
  entry.Script = "[Script]\r\n[/Script]";
  EXPECT_EQ(ContentFromLibraryEntry(entry, "").script_lines.back(), u"[/Script]");
}

}  // namespace
}  // namespace kovra
