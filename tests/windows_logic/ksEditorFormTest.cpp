// The header editor's line displays, loaded values and composed text.
#include "library/ksEditorForm.h"

#include <gtest/gtest.h>

#include "library/ksEditor.h"

namespace kovra {
namespace {

std::array<std::u16string, kHeaderRows> DefaultLines() {
  const THeaderEditorValues v;
  return {HeaderLine(0, v.version),
          HeaderLine(1, v.name),
          HeaderLine(2, v.match_url),
          HeaderLine(3, kMatchModeItems[static_cast<size_t>(v.match_mode)]),
          HeaderLine(4, kEntryPointItems[static_cast<size_t>(v.entry_point)]),
          HeaderLine(5, kBooleanItems[static_cast<size_t>(v.need_result)]),
          HeaderLine(6, kBooleanItems[static_cast<size_t>(v.result_to_new_page)])};
}

TEST(HeaderLinesTest, LabelsAndValues) {
  const std::array<std::u16string, kHeaderRows> expected = {
      u"Parsers Version = v 1 ;",     u"Name = de_nowage ;",   u"Match Url = 'NowPage' ;",
      u"Match Mode = xMatchLong ;",   u"Entry Point = Auto ;", u"Need Result = True ;",
      u"Result to New Page = False ;"};
  EXPECT_EQ(DefaultLines(), expected);
  EXPECT_EQ(HeaderLine(4, u"NowDocunent"), u"Entry Point = NowDocunent ;");
  EXPECT_EQ(HeaderLine(0, u"2.0"), u"Parsers Version = v 2.0 ;");
  EXPECT_TRUE(IsVersionText(u"2.0"));
  EXPECT_TRUE(IsVersionText(u""));
  EXPECT_FALSE(IsVersionText(u"1.2a"));
  EXPECT_FALSE(IsVersionText(u" 1"));
}

TEST(HeaderValuesTest, LoadedFromAText) {
  const THeaderEditorValues empty = HeaderEditorValues(u"");
  EXPECT_EQ(empty.name, u"de_nowage");
  EXPECT_FALSE(empty.match_url_given);
  EXPECT_TRUE(empty.define_variant.empty());

  const THeaderEditorValues v = HeaderEditorValues(
      u"[Header Message]\r\n Name = My Site ;\r\n Match Url = 'a.test'+'b.test' ;\r\n Match Mode = "
      u"xMatchShort ;\r\n"
      u" Entry Point = manual ;\r\n Need Result = False ;\r\n Result to New Page = True "
      u";\r\n[/Header Message]\r\n"
      u"[Define Variant]  s:string;[/Define Variant][Script Content]  result := s;[/Script "
      u"Content]");
  EXPECT_EQ(v.name, u"mysite");
  EXPECT_EQ(v.match_url, u"'a.test'+'b.test'");
  EXPECT_TRUE(v.match_url_given);
  EXPECT_EQ(v.match_mode, 2);
  EXPECT_EQ(v.entry_point, 1);
  EXPECT_EQ(v.need_result, 0);
  EXPECT_EQ(v.result_to_new_page, 1);
  EXPECT_EQ(v.define_variant, u"s:string;");
  EXPECT_EQ(v.script_content, u"result := s;");
  EXPECT_TRUE(HeaderEditorValues(u"[Header Message] Match Url = 'NowPage' ;[/Header Message]")
                  .match_url_given);
}

TEST(ComposeTest, LinesAsTheyReadReplaceTheHeader) {
  TScriptHeader defaults;
  defaults.DefineVariant = u"s:string;";
  defaults.ScriptContent = u"result := s;\r\nresult := result;";
  EXPECT_EQ(ComposeFromHeaderLines(DefaultLines(), defaults.DefineVariant, defaults.ScriptContent),
            ComposeScriptText(defaults));

  std::array<std::u16string, kHeaderRows> lines = DefaultLines();
  lines[0] = u"Parsers Version = v 2.0 ;";
  lines[1] = u"anything at all";
  const std::u16string text = ComposeFromHeaderLines(lines, u"", u"");
  EXPECT_NE(text.find(u"\r\n    Parsers Version = v 2.0 ;\r\n    anything at all\r\n    Match Url"),
            std::u16string::npos);
  EXPECT_TRUE(text.ends_with(u"[/Script]"));
}

TEST(ComposeTest, EachRoundAddsOneLayerOfFraming) {
  const std::u16string first =
      ComposeFromHeaderLines(DefaultLines(), u"s:string;", u"result := s;");
  const THeaderEditorValues once = HeaderEditorValues(first);
  const std::u16string second =
      ComposeFromHeaderLines(DefaultLines(), once.define_variant, once.script_content);
  const THeaderEditorValues twice = HeaderEditorValues(second);
  EXPECT_EQ(once.define_variant, u"\r\n\r\n    s:string;\r\n\r\n  ");
  EXPECT_EQ(twice.define_variant,
            u"\r\n\r\n    \r\n    \r\n        s:string;\r\n    \r\n      \r\n\r\n  ");
  EXPECT_EQ(twice.script_content,
            u"\r\n\r\n    \r\n    \r\n        result := s;\r\n    \r\n      \r\n\r\n  ");
}

}  // namespace
}  // namespace kovra
