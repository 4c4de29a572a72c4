// The header block inside a script section: parsing, building, and the match
// list split into patterns.
#include "library/ksEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace {

using kovra::ComposeScriptText;
using kovra::MatchPatterns;
using kovra::ParseScriptText;
using kovra::TEntryPoint;
using kovra::TMatchMode;
using kovra::TScriptHeader;

std::string Narrow(std::u16string_view text) {
  return kovra::ToNarrow(text);
}

// A script section whose header block holds the given lines.
std::u16string WithHeader(std::u16string_view lines) {
  return u"[Script]\r\n  [Header Message]\r\n" + std::u16string(lines) +
         u"\r\n  [/Header Message]\r\n[/Script]";
}

void ExpectDefaults(const TScriptHeader& h) {
  EXPECT_EQ(Narrow(h.ParserVersion), "1");
  EXPECT_EQ(Narrow(h.Name), "de_nowage");
  EXPECT_EQ(Narrow(h.MatchUrl), "'NowPage'");
  EXPECT_EQ(h.MatchMode, TMatchMode::xMatchLong);
  EXPECT_EQ(h.EntryPoint, TEntryPoint::Auto);
  EXPECT_TRUE(h.NeedResult);
  EXPECT_FALSE(h.ResultToNewPage);
  EXPECT_EQ(Narrow(h.DefineVariant), "");
  EXPECT_EQ(Narrow(h.ScriptContent), "");
}

TEST(ParseScriptText, TextsWithoutHeaderGiveTheDefaults) {
  const std::u16string cases[] = {
      u"",
      u"[Script]\r\nresult := url;\r\n[/Script]",
      // Markers without their closing partner are absent blocks.
      u"[Header Message] Name = x ;",
      u"[/Header Message] Name = x ; [Header Message]",
  };
  for (const std::u16string& text : cases) {
    SCOPED_TRACE(Narrow(text));
    ExpectDefaults(ParseScriptText(text));
  }
}

TEST(ParseScriptText, HeaderValuesAreReadFromTheNormalisedHeader) {
  struct Case {
    std::u16string lines;
    std::string name, match_url, parser_version;
    TMatchMode mode;
    TEntryPoint entry;
    bool need_result, new_page;
  };
  const Case cases[] = {
      {u"Name = My Site Script ;", "mysitescript", "'NowPage'", "1", TMatchMode::xMatchLong,
       TEntryPoint::Auto, true, false},
      {u"Match Url = 'WWW.Site.com/News/*'+'b.org' ;", "de_nowage", "'www.site.com/news/*'+'b.org'",
       "1", TMatchMode::xMatchLong, TEntryPoint::Auto, true, false},
      // A value is cut at the first ";".
      {u"Match Url = 'a.com/x;y' ;", "de_nowage", "'a.com/x", "1", TMatchMode::xMatchLong,
       TEntryPoint::Auto, true, false},
      // Keys are found anywhere, also inside another line's value.
      {u"Match Url = 'a.com/?name=evil;' ;\r\nName = good ;", "evil", "'a.com/?name=evil", "1",
       TMatchMode::xMatchLong, TEntryPoint::Auto, true, false},
      {u"ParserVersion = 2 ;\r\nMatch Mode = ExactMatch ;\r\nEntry Point = Auto ;", "de_nowage",
       "'NowPage'", "2", TMatchMode::ExactMatch, TEntryPoint::Auto, true, false},
      {u"Match Mode = XMATCHSHORT ;\r\nEntry Point = NowDocunent ;", "de_nowage", "'NowPage'", "1",
       TMatchMode::xMatchShort, TEntryPoint::NowDocunent, true, false},
      // An unknown match mode leaves the field; any entry point but auto is
      // NowDocunent; booleans other than true/false leave the field.
      {u"Match Mode = fuzzy ;\r\nEntry Point = main ;\r\nNeed Result = yes ;\r\nResult to New Page "
       u"= 1 ;",
       "de_nowage", "'NowPage'", "1", TMatchMode::xMatchLong, TEntryPoint::NowDocunent, true,
       false},
      {u"Need Result = FALSE ;\r\nResult To New Page = True ;", "de_nowage", "'NowPage'", "1",
       TMatchMode::xMatchLong, TEntryPoint::Auto, false, true},
      // An empty value leaves the default.
      {u"Name = ;\r\nMatch Url = ;", "de_nowage", "'NowPage'", "1", TMatchMode::xMatchLong,
       TEntryPoint::Auto, true, false},
      // Letters outside A-Z keep their form.
      {u"Name = \u4E2D\u6587 ;", "\xD6\xD0\xCE\xC4", "'NowPage'", "1", TMatchMode::xMatchLong,
       TEntryPoint::Auto, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.lines));
    const TScriptHeader h = ParseScriptText(WithHeader(c.lines));
    EXPECT_EQ(Narrow(h.Name), c.name);
    EXPECT_EQ(Narrow(h.MatchUrl), c.match_url);
    EXPECT_EQ(Narrow(h.ParserVersion), c.parser_version);
    EXPECT_EQ(h.MatchMode, c.mode);
    EXPECT_EQ(h.EntryPoint, c.entry);
    EXPECT_EQ(h.NeedResult, c.need_result);
    EXPECT_EQ(h.ResultToNewPage, c.new_page);
  }
}

TEST(ParseScriptText, BlocksAreFoundWithBlanksInMarkersAndInTheirOrder) {
  struct Case {
    std::u16string text;
    std::string name, declarations, body;
  };
  const Case cases[] = {
      // Blanks and capitals inside the markers; content keeps its case and
      // loses two leading spaces.
      {u"[ HEADER\r\nmessage ]Name=a;[/header Message]"
       u"[Define\tVariant]  X:String;[/Define Variant]"
       u"[Script Content]  Result := X;\r\n[ / Script Content ]",
       "a", "X:String;", "Result := X;\r\n"},
      // A declaration block without a header block is still found.
      {u"[Define Variant]a:string;[/Define Variant][Script Content]b[/Script Content]", "de_nowage",
       "a:string;", "b"},
      // Only two spaces are dropped, and only when both are there.
      {u"[Define Variant]   a[/Define Variant][Script Content] b[/Script Content]", "de_nowage",
       " a", " b"},
      // A body block standing before the header block is not found.
      {u"[Script Content]early[/Script Content][Header Message]Name=n;[/Header Message]", "n", "",
       ""},
      // A missing declaration block does not hide the body.
      {u"[Header Message]Name=n;[/Header Message][Script Content]x[/Script Content]", "n", "", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    const TScriptHeader h = ParseScriptText(c.text);
    EXPECT_EQ(Narrow(h.Name), c.name);
    EXPECT_EQ(Narrow(h.DefineVariant), c.declarations);
    EXPECT_EQ(Narrow(h.ScriptContent), c.body);
  }
}

TEST(ComposeScriptText, BuildsTheExactLayout) {
  TScriptHeader h;
  h.DefineVariant = u"a:string;\r\nn:integer;";
  h.ScriptContent = u"result := a;\r\n";
  const std::string expected =
      "[Script]\r\n"
      "\r\n"
      "  [Header Message]\r\n"
      "\r\n"
      "    Parsers Version = v 1 ;\r\n"
      "    Name = de_nowage ;\r\n"
      "    Match Url = 'NowPage' ;\r\n"
      "    Match Mode = xMatchLong ;\r\n"
      "    Entry Point = Auto ;\r\n"
      "    Need Result = True ;\r\n"
      "    Result to New Page = False ;\r\n"
      "\r\n"
      "  [/Header Message]\r\n"
      "\r\n\r\n\r\n"
      "  [Define Variant]\r\n"
      "\r\n"
      "    a:string;\r\n"
      "    n:integer;\r\n"
      "\r\n"
      "  [/Define Variant]\r\n"
      "\r\n\r\n\r\n"
      "  [Script Content]\r\n"
      "\r\n"
      "    result := a;\r\n"
      "\r\n"
      "  [/Script Content]\r\n"
      "\r\n"
      "[/Script]";
  EXPECT_EQ(Narrow(ComposeScriptText(h)), expected);
}

TEST(ComposeScriptText, SplitsBlockTextsIntoLines) {
  // Hand-written texts may end their lines with LF or CR alone; a final line
  // end opens no line, and an empty text has none.
  struct Case {
    std::u16string body;
    std::string framed;
  };
  const Case cases[] = {
      {u"", "  [Script Content]\r\n\r\n\r\n  [/Script Content]"},
      {u"a\r\nb", "  [Script Content]\r\n\r\n    a\r\n    b\r\n\r\n  [/Script Content]"},
      {u"a\nb\n", "  [Script Content]\r\n\r\n    a\r\n    b\r\n\r\n  [/Script Content]"},
      {u"a\rb\r\n\r\nc",
       "  [Script Content]\r\n\r\n    a\r\n    b\r\n    \r\n    c\r\n\r\n  [/Script Content]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.body));
    TScriptHeader h;
    h.ScriptContent = c.body;
    EXPECT_NE(Narrow(ComposeScriptText(h)).find(c.framed), std::string::npos)
        << Narrow(ComposeScriptText(h));
  }
}

TEST(ComposeScriptText, ParsesBackWithTheBuildersFraming) {
  TScriptHeader h;
  h.ParserVersion = u"3";
  h.Name = u"shop";
  h.MatchUrl = u"'shop.site45.net/item*.html'+'www.*.org'";
  h.MatchMode = TMatchMode::xMatchShort;
  h.EntryPoint = TEntryPoint::NowDocunent;
  h.NeedResult = false;
  h.ResultToNewPage = true;
  h.DefineVariant = u"t:string;";
  h.ScriptContent = u"result := t;";

  const TScriptHeader once = ParseScriptText(ComposeScriptText(h));
  // "Parsers Version" normalises to a key the parser does not know.
  EXPECT_EQ(Narrow(once.ParserVersion), "1");
  EXPECT_EQ(Narrow(once.Name), "shop");
  EXPECT_EQ(Narrow(once.MatchUrl), "'shop.site45.net/item*.html'+'www.*.org'");
  EXPECT_EQ(once.MatchMode, TMatchMode::xMatchShort);
  EXPECT_EQ(once.EntryPoint, TEntryPoint::NowDocunent);
  EXPECT_FALSE(once.NeedResult);
  EXPECT_TRUE(once.ResultToNewPage);
  EXPECT_EQ(Narrow(once.DefineVariant), "\r\n\r\n    t:string;\r\n\r\n  ");
  EXPECT_EQ(Narrow(once.ScriptContent), "\r\n\r\n    result := t;\r\n\r\n  ");

  // Each further round adds the framing once more.
  const TScriptHeader twice = ParseScriptText(ComposeScriptText(once));
  EXPECT_EQ(Narrow(twice.ScriptContent),
            "\r\n\r\n    \r\n    \r\n        result := t;\r\n    \r\n      \r\n\r\n  ");
  EXPECT_EQ(Narrow(twice.Name), "shop");
}

TEST(MatchPatterns, SplitsAtPlusOutsideQuotes) {
  struct Case {
    std::u16string match_url;
    std::vector<std::string> patterns;
  };
  const Case cases[] = {
      {u"'NowPage'", {"NowPage"}},
      {u"'a.com'+'b.org/x'", {"a.com", "b.org/x"}},
      {u"a.com+b.org", {"a.com", "b.org"}},
      {u"'a.com/?q=1+2'+'c.net'", {"a.com/?q=1+2", "c.net"}},
      // A doubled quote does not end a quoted pattern and stays as it is.
      {u"'it''s.com+x'+y", {"it''s.com+x", "y"}},
      {u"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.match_url));
    std::vector<std::string> got;
    for (std::u16string_view p : MatchPatterns(c.match_url)) got.push_back(Narrow(p));
    EXPECT_EQ(got, c.patterns);
  }
}

}  // namespace
