#include "interpreter/UnitSuperCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace kovra {
namespace {

struct TCopyCase {
  const char* text;
  const char* word;
  std::vector<const char*> parts;
  int32_t end;
};

TEST(SuperCopy, CutsStatementsIntoParts) {
  const TCopyCase cases[] = {
      {"if a then x;", "if", {" a ", " x"}, 13},
      {"if a then x else y;", "if", {" a ", " x ", " y"}, 20},
      {"if a then begin x; end;", "if", {" a ", " x; ", ""}, 24},
      {"if a then begin x; end else y;", "if", {" a ", " x; ", " y"}, 31},
      {"if a then begin x end else begin y end;", "if", {" a ", " x ", " y "}, 39},
      {"if a then if b then x else y;", "if", {" a ", " if b then x ", " y"}, 30},
      {"repeat inc(i); until i = 3;", "repeat", {" inc(i); ", " i = 3"}, 28},
      {"while i < 3 do inc(i); x := 1;", "while", {" i < 3 ", " inc(i); x := 1;"}, 32},
      {"while i < 3 do begin inc(i); end; x;", "while", {" i < 3 ", " inc(i); "}, 33},
      {"for i := 5 downto 1 do x;", "for", {" i := 5 downto 1 ", " x"}, 26},
      {"IF A THEN X;", "if", {" A ", " X"}, 13},
      {"if x then y := 'end of';", "if", {" x ", " y := 'end of'"}, 25},
      {"if a then begin\r\nif b then c;\r\nend;", "if", {" a ", "\r\nif b then c;\r\n", ""}, 36},
  };
  for (const TCopyCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::u16string text = DecodeUtf8(c.text);
    const TCopy_ANResult r = SuperCopy(text, 1, DecodeUtf8(c.word));
    std::vector<std::string> parts;
    for (auto p : r.parts) parts.push_back(EncodeUtf8(p));
    EXPECT_EQ(parts, std::vector<std::string>(c.parts.begin(), c.parts.end()));
    EXPECT_EQ(r.end, c.end);
    EXPECT_EQ(r.count, static_cast<int32_t>(c.parts.size()));
  }
}

TEST(SuperCopy, ReportsStatementsThatDoNotMatch) {
  const struct {
    const char* text;
    const char* word;
    int32_t end;
  } cases[] = {
      {"if(x)then y;", "if", 0},                        // "if" needs a blank after it
      {"if x", "if", -1},                               // "then" never comes
      {"if a then begin x;", "if", 0},                  // no "end"
      {"if a then begin if b then c; end", "if", 0},   // the scan resumes inside "end"
      {"repeat x;", "repeat", -1},
      {"case x of", "case", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SuperCopy(DecodeUtf8(c.text), 1, DecodeUtf8(c.word)).end, c.end);
  }
}

TEST(SuperCopy, BoundsNesting) {
  std::u16string text;
  for (int i = 0; i < 10000; ++i) text += u"if a then begin\r\n";
  const TCopy_ANResult r = SuperCopy(text, 1, u"if");
  EXPECT_TRUE(r.too_deep);
  EXPECT_EQ(r.end, 0);
}

}  // namespace
}  // namespace kovra
