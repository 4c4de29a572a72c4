// The memo's colour runs and the indentation Enter carries.
#include "windows/UnitScriptMemoLogic.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

const std::vector<std::u16string> kKeywords = {u"begin", u"end", u"Result", u"True", u"False"};

using K = TRunKind;

TEST(ColourRunsTest, Lines) {
  struct Case {
    std::u16string_view line;
    std::vector<TColourRun> runs;
  };
  const Case cases[] = {
      {u"x := Result+12;",
       {{0, 1, K::kWord},
        {1, 4, K::kDelimiter},
        {5, 6, K::kKeyword},
        {11, 1, K::kDelimiter},
        {12, 2, K::kNumber},
        {14, 1, K::kDelimiter}}},
      {u"begin2", {{0, 6, K::kWord}}},
      {u"RESULT", {{0, 6, K::kKeyword}}},
      {u"a_b<c@d#$&>|~", {{0, 13, K::kWord}}},
      {u"a.b", {{0, 1, K::kWord}, {1, 1, K::kDelimiter}, {2, 1, K::kWord}}},
      {u"  end ", {{0, 2, K::kDelimiter}, {2, 3, K::kKeyword}, {5, 1, K::kDelimiter}}},
      {u"\tif", {{0, 3, K::kWord}}},  // the tab joins the word
      {u"s:='标题';",
       {{0, 1, K::kWord}, {1, 3, K::kDelimiter}, {4, 2, K::kWord}, {6, 2, K::kDelimiter}}},
      {u"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
    EXPECT_EQ(ColourRuns(c.line, kKeywords), c.runs);
  }
}

TEST(ColourRunsTest, CharacterClasses) {
  for (char16_t c : std::u16string_view(u" !\"%'()*+,-./:;=?[\\]^`{}")) {
    EXPECT_TRUE(IsDelimiter(c)) << static_cast<int>(c);
  }
  for (char16_t c : std::u16string_view(u"aZ09#$&<>@_|~\t\x7f\x80\u4e2d")) {
    EXPECT_FALSE(IsDelimiter(c)) << static_cast<int>(c);
  }
  EXPECT_TRUE(IsNumber(u"0123456789"));
  EXPECT_FALSE(IsNumber(u"12a"));
  EXPECT_FALSE(IsKeyword(u"", kKeywords));
  EXPECT_TRUE(IsKeyword(u"tRuE", kKeywords));
  EXPECT_FALSE(IsKeyword(u"ends", kKeywords));
}

TEST(IndentTest, LeadingSpacesOnly) {
  EXPECT_EQ(LeadingSpaces(u"   x := 1;"), 3);
  EXPECT_EQ(LeadingSpaces(u"\t  x"), 0);
  EXPECT_EQ(LeadingSpaces(u"  \tx"), 2);
  EXPECT_EQ(LeadingSpaces(u"    "), 4);
  EXPECT_EQ(LeadingSpaces(u""), 0);
}

}  // namespace
}  // namespace kovra
