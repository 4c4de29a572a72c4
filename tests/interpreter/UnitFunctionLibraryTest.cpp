// The built-ins as the interpreter reaches them: by name through the
// dictionary, with argument lists built the interpreter's way (a literal with
// its quotes, a variable as its bare value).
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "interpreter/UnitFunctionLibrary.h"
#include "interpreter/UnitParsersCmdDictionary.h"
#include "platform/Prompt.h"

namespace kovra {
namespace {

using namespace std::literals;
using WView = std::u16string_view;
using WStr = std::u16string;

using kovra_test::Show;

class TFakePrompt final : public TPrompt {
 public:
  explicit TFakePrompt(int32_t answer) : answer_(answer) {}
  int32_t AskYesNoCancel(WView caption, WView message) override {
    ++asked;
    caption_seen.assign(caption);
    message_seen.assign(message);
    return answer_;
  }
  void ShowNotice(WView, WView) override {}

  int asked = 0;
  WStr caption_seen;
  WStr message_seen;

 private:
  int32_t answer_;
};

struct TCall {
  WView name;
  std::vector<WView> args;
  WView expected;
};

std::string Describe(WView name, const std::vector<WView>& args) {
  std::string out = Show(name) + "(";
  for (size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + Show(args[i]);
  return out + ")";
}

TArgList MakeArgs(const std::vector<WView>& args) {
  TArgList list;
  for (WView a : args) list.Push(a);
  return list;
}

WStr CallByName(WView name, const std::vector<WView>& args, TPrompt* prompt = nullptr) {
  const int32_t index = FindFunction(name);
  EXPECT_GE(index, 0) << Show(name);
  if (index < 0) return u"<unknown>";
  TCallContext ctx;
  ctx.prompt = prompt ? prompt : &TNoPrompt::Instance();
  return CallFunction(index, MakeArgs(args), ctx);
}

void ExpectCalls(std::initializer_list<TCall> cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name, c.args));
    EXPECT_EQ(CallByName(c.name, c.args), c.expected);
  }
}

// Runs a procedure and returns its argument list afterwards.
std::vector<WStr> RunProcedure(WView name, const std::vector<WView>& args) {
  const int32_t index = FindProcedure(name);
  EXPECT_GE(index, 0) << Show(name);
  TArgList list = MakeArgs(args);
  TCallContext ctx{&TNoPrompt::Instance()};
  if (index >= 0) CallProcedure(index, list, ctx);
  std::vector<WStr> out;
  for (size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
  return out;
}

// ---- Dictionary ------------------------------------------------------------------

TEST(DictionaryTest, FunctionTableHoldsNamesKindsAndArities) {
  constexpr auto B = TFunctionKind::kBoolean, I = TFunctionKind::kInteger,
                 S = TFunctionKind::kString;
  const struct {
    WView name;
    TFunctionKind kind;
    int32_t arity;
  } expected[] = {
      {u"msg", I, 2},
      {u"poschara", I, 3},
      {u"poschar", I, 3},
      {u"posignchar", I, 2},
      {u"posignchara", I, 3},
      {u"posrignchar", I, 2},
      {u"posforwardchar", I, 3},
      {u"posforwardlongchar", I, 3},
      {u"posforwardlongchara", I, 3},
      {u"poslongchar", I, 4},
      {u"poslongcharc", I, 4},
      {u"pose", I, 3},
      {u"posa", I, 3},
      {u"copyc", S, 3},
      {u"copyqi", S, 3},
      {u"copyqs", S, 3},
      {u"copyqsin", S, 4},
      {u"copyqs_match", S, 4},
      {u"copyqs_htm", S, 2},
      {u"copyqs_htmin", S, 3},
      {u"trimchara", S, 2},
      {u"trimspace", S, 1},
      {u"trimlrspace", S, 1},
      {u"trimereturn", S, 1},
      {u"trimlrereturn", S, 1},
      {u"trimtab", S, 1},
      {u"trimlrspaceereturn", S, 1},
      {u"trimwithkovra", S, 1},
      {u"trimlrbracketschr", S, 3},
      {u"trimleft", S, 1},
      {u"trimright", S, 1},
      {u"trimsub", S, 3},
      {u"trimmatchsub", S, 3},
      {u"trimhtm", S, 1},
      {u"ismatch", B, 2},
      {u"isposat", B, 3},
      {u"ischarin", B, 2},
      {u"islongcharin", B, 2},
      {u"fndedomain", S, 1},
      {u"fnfulldomain", S, 1},
      {u"fnonedomain", B, 2},
      {u"fnlowercase", S, 1},
      {u"fnupcase", S, 1},
      {u"fnitmatch", B, 2},
      {u"fninttostr", S, 1},
      {u"fnstrtoint", I, 1},
      {u"exchangelongchar", S, 5},
  };
  const auto table = FunctionTable();
  ASSERT_EQ(table.size(), std::size(expected));
  for (size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(Show(expected[i].name));
    EXPECT_EQ(table[i].name, expected[i].name);
    EXPECT_EQ(table[i].kind, expected[i].kind);
    EXPECT_EQ(table[i].arity, expected[i].arity);
    EXPECT_NE(table[i].handler, nullptr);
    EXPECT_EQ(FindFunction(expected[i].name), static_cast<int32_t>(i));
  }
}

TEST(DictionaryTest, ProcedureSlots) {
  const struct {
    int32_t slot;
    WView name;
    int32_t arity;
  } used[] = {{0, u"posmatchlongchar", 5},
              {1, u"posmaybelongchara", 5},
              {2, u"poslongchar_ignseplongchar", 6},
              {3, u"inc", 1},
              {4, u"dec", 1},
              {5, u"idhttp", 3},
              {12, u"copyqs_igna", 8}};
  const auto table = ProcedureTable();
  ASSERT_EQ(table.size(), 26u);
  size_t next = 0;
  for (int32_t slot = 0; slot < 26; ++slot) {
    SCOPED_TRACE(slot);
    const TProcedureEntry& e = table[static_cast<size_t>(slot)];
    if (next < std::size(used) && used[next].slot == slot) {
      EXPECT_EQ(e.name, used[next].name);
      EXPECT_EQ(e.arity, used[next].arity);
      EXPECT_EQ(e.handler == nullptr, slot == kIdHttpSlot);
      EXPECT_EQ(FindProcedure(used[next].name), slot);
      ++next;
    } else {
      EXPECT_TRUE(e.name.empty());
      EXPECT_EQ(e.arity, 0);
      EXPECT_EQ(e.handler, nullptr);
    }
  }
}

TEST(DictionaryTest, LookupTrimsBlanksAndComparesExactly) {
  const struct {
    WView key;
    int32_t function;
    int32_t procedure;
  } cases[] = {
      {u"copyc", 13, -1},   {u" \t copyc\r\n", 13, -1}, {u"\0copyc\0"sv, 13, -1},
      {u"copy c", -1, -1},  {u"CopyC", -1, -1},  // names arrive lower-cased; the lookup does not
                                                 // fold
      {u"copy", -1, -1},    {u"copyqs_htm", 18, -1},    {u"copyqs_htmin", 19, -1},
      {u"inc", -1, 3},      {u"idhttp", -1, 5},         {u" copyqs_igna ", -1, 12},
      {u"", -1, -1},  // never an unused slot
      {u" \t\r\n", -1, -1}, {u"\x01", -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.key));
    EXPECT_EQ(FindFunction(c.key), c.function);
    EXPECT_EQ(FindProcedure(c.key), c.procedure);
  }
}

TEST(DictionaryTest, WrongArgumentCountGivesKindDefault) {
  TFakePrompt prompt(TPrompt::kYes);
  const TCall cases[] = {
      {u"copyc", {u"'abc'", u"1"}, u""},   {u"poschar", {u"'abc'", u"1"}, u"-1"},
      {u"ismatch", {u"'abc'"}, u"False"},  {u"fnstrtoint", {}, u"-1"},
      {u"trimhtm", {u"'a'", u"'b'"}, u""}, {u"msg", {u"'t'", u"'m'", u"'x'"}, u"-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name, c.args));
    EXPECT_EQ(CallByName(c.name, c.args, &prompt), c.expected);
  }
  EXPECT_EQ(prompt.asked, 0);

  TCallContext ctx{&prompt};
  EXPECT_EQ(CallFunction(-1, TArgList(), ctx), u"");
  EXPECT_EQ(CallFunction(kFunctionCount, TArgList(), ctx), u"");
}

TEST(DictionaryTest, ProcedureRunsOnlyWithItsExactCount) {
  const std::vector<WView> two = {u"5", u"7"};
  EXPECT_EQ(RunProcedure(u"inc", two), (std::vector<WStr>{u"5", u"7"}));
  EXPECT_EQ(RunProcedure(u"idhttp", {u"a", u"b", u"c"}),
            (std::vector<WStr>{u"a", u"b", u"c"}));  // the interpreter runs idhttp itself

  TCallContext ctx{&TNoPrompt::Instance()};
  TArgList args = MakeArgs({u"5"});
  for (int32_t index : {-1, 6, 25, kProcedureSlots, INT32_MAX}) {
    CallProcedure(index, args, ctx);
  }
  TArgList none;
  CallProcedure(6, none, ctx);  // an unused slot with its count of 0
  EXPECT_EQ(args[0], u"5");
}

// ---- Position functions and tests --------------------------------------------------

TEST(PositionBuiltinsTest, Functions) {
  ExpectCalls({
      {u"poschar", {u"'abcabc'", u"4", u"'c'"}, u"6"},
      {u"poschar", {u"'abc'", u"1", u"'ab'"}, u"0"},  // not one character: U+0001
      {u"poschar", {u"'abc'", u"2147483647", u"'c'"}, u"0"},
      {u"poschar", {u"abc\r\n", u" 2 ", u"c"}, u"3"},  // a variable's value, trimmed
      {u"poschara", {u"'xyz'", u"1", u"'a'+'b'"}, u"0"},
      {u"poschara", {u"'xyaz'", u"1", u"'a'+'b'"}, u"3"},
      {u"posignchar", {u"'  ab'", u"' '"}, u"3"},
      {u"posignchar", {u"''", u"'x'"}, u"1"},
      {u"posignchara", {u"'abcx'", u"1", u"'a'+'b'+'c'"}, u"4"},
      {u"posrignchar", {u"'ab  '", u"' '"}, u"2"},
      {u"posrignchar", {u"'    '", u"' '"}, u"0"},
      {u"posforwardchar", {u"'abcabc'", u"4", u"'b'"}, u"2"},
      {u"posforwardchar", {u"'abcabc'", u"99", u"'b'"}, u"5"},
      {u"posforwardchar", {u"'abcabc'", u"2147483647", u"'c'"}, u"6"},
      {u"posforwardchar", {u"'abcabc'", u"0", u"'a'"}, u"0"},
      {u"posforwardchar", {u"'abcabc'", u"-2147483648", u"'a'"}, u"0"},
      {u"posforwardchar", {u"''", u"5", u"'a'"}, u"0"},
      {u"posforwardlongchar", {u"'abcabc'", u"6", u"'bc'"}, u"5"},
      {u"posforwardlongchar", {u"'abcabc'", u"5", u"'bc'"}, u"2"},
      {u"posforwardlongchar", {u"'abcabc'", u"2147483647", u"'bc'"}, u"5"},
      {u"posforwardlongchar", {u"'abcabc'", u"6", u"''"}, u"0"},
      {u"posforwardlongchara", {u"'abXcd'", u"5", u"'ab'+'cd'"}, u"4"},
      {u"posforwardlongchara", {u"'abXcd'", u"3", u"'ab'+'cd'"}, u"1"},
      {u"posforwardlongchara", {u"'abXcd'", u"5", u"''+'cd'"}, u"0"},
      {u"poslongchar", {u"'xaby'", u"1", u"'ab'", u"'true'"}, u"2"},
      {u"poslongchar", {u"'xaby'", u"1", u"'ab'", u"TRUE"}, u"2"},
      {u"poslongchar", {u"'xaby'", u"1", u"'ab'", u"'false'"}, u"4"},
      {u"poslongchar", {u"'xaby'", u"1", u"'ab'", u"'yes'"}, u"4"},
      {u"poslongchar", {u"'xaby'", u"3", u"'ab'", u"'true'"}, u"0"},
      {u"poslongcharc", {u"'a-a-a'", u"9", u"'a'", u"2"}, u"3"},
      {u"poslongcharc", {u"'a-a-a'", u"9", u"'a'", u"3"}, u"5"},
      {u"poslongcharc", {u"'a-a-a'", u"9", u"'a'", u"4"}, u"0"},
      {u"poslongcharc", {u"'a-a-a'", u"9", u"'a'", u"5"}, u"1"},
      {u"poslongcharc", {u"'a-a-a'", u"1", u"'a'", u"2147483647"}, u"5"},
      {u"pose", {u"'xaby'", u"1", u"'ab'"}, u"4"},
      {u"posa", {u"'xaby'", u"1", u"'ab'"}, u"2"},
      {u"pose", {u"'aab'", u"1", u"'ab'"}, u"0"},  // no stepping back
      {u"posa", {u"'xaby'", u"2147483647", u"'ab'"}, u"0"},
      {u"isposat", {u"'abc'", u"2", u"'bc'"}, u"True"},
      {u"isposat", {u"'abc'", u"3", u"'cd'"}, u"False"},
      {u"isposat", {u"'abc'", u"4", u"''"}, u"True"},
      {u"isposat", {u"'abc'", u"0", u"''"}, u"False"},
      {u"isposat", {u"'abc'", u"2147483647", u"'c'"}, u"False"},
      {u"ischarin", {u"'a'", u"'x'+'a'"}, u"True"},
      {u"ischarin", {u"'b'", u"'x'+'a'"}, u"False"},
      {u"ischarin", {u"'ab'", u"'x'+'a'"}, u"True"},  // U+0001 fills the free slots
      {u"islongcharin", {u"'cd'", u"'ab'+''+'cd'"}, u"False"},
      {u"islongcharin", {u"'ab'", u"'ab'+''+'cd'"}, u"True"},
      {u"ismatch", {u"'<b>x</b>'", u"'<*>'"}, u"True"},
      {u"ismatch", {u"'ac'", u"'*ab'"}, u"False"},
  });
}

TEST(PositionBuiltinsTest, ProceduresWriteTheirPositions) {
  const struct {
    WView name;
    std::vector<WView> args;
    std::vector<WStr> expected;
  } cases[] = {
      {u"posmatchlongchar",
       {u"'ab<i>cd'", u"'<*>'", u"1", u"s", u"e"},
       {u"'ab<i>cd'", u"'<*>'", u"1", u"3", u"5"}},
      {u"posmatchlongchar",
       {u"'xay'", u"'a'", u"1", u"9", u"9"},
       {u"'xay'", u"'a'", u"1", u"2", u"2"}},
      {u"posmatchlongchar",
       {u"'xa'", u"'ab'", u"1", u"9", u"9"},
       {u"'xa'", u"'ab'", u"1", u"2", u"0"}},
      {u"posmaybelongchara",
       {u"'xxcdab'", u"1", u"'ab'+'cd'", u"i", u"p"},
       {u"'xxcdab'", u"1", u"'ab'+'cd'", u"2", u"3"}},
      {u"posmaybelongchara",
       {u"'xxcdab'", u"5", u"'ab'+'cd'", u"i", u"p"},
       {u"'xxcdab'", u"5", u"'ab'+'cd'", u"1", u"5"}},
      {u"posmaybelongchara",
       {u"'xxcdab'", u"7", u"'ab'+'cd'", u"i", u"p"},
       {u"'xxcdab'", u"7", u"'ab'+'cd'", u"-1", u"0"}},
      {u"posmaybelongchara",
       {u"'xxcdab'", u"2147483647", u"'ab'", u"i", u"p"},
       {u"'xxcdab'", u"2147483647", u"'ab'", u"-1", u"0"}},
      {u"poslongchar_ignseplongchar",
       {u"'a b c'", u"1", u"'abc'", u"' '", u"s", u"e"},
       {u"'a b c'", u"1", u"'abc'", u"' '", u"1", u"5"}},
      {u"poslongchar_ignseplongchar",
       {u"'a-b'", u"1", u"'ab'", u"' '", u"s", u"e"},
       {u"'a-b'", u"1", u"'ab'", u"' '", u"0", u"0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.name, c.args));
    EXPECT_EQ(RunProcedure(c.name, c.args), c.expected);
  }
}

// ---- Copy and exchange ----------------------------------------------------------

TEST(CopyBuiltinsTest, Functions) {
  ExpectCalls({
      {u"copyc", {u"'abcdef'", u"2", u"3"}, u"bcd"},
      {u"copyc", {u"'abcdef'", u"5", u"3"}, u""},
      {u"copyc", {u"'abcdef'", u"5", u"2"}, u"ef"},
      {u"copyc", {u"'abcdef'", u"2147483647", u"2147483647"}, u""},
      {u"copyc", {u"'abcdef'", u"2", u"2147483647"}, u""},
      {u"copyc", {u"'abcdef'", u"-2147483648", u"3"}, u""},
      {u"copyc", {u"a\0b\0c"sv, u"2", u"3"}, u"\0b\0"sv},
      {u"copyqi", {u"'abcdef'", u"2", u"4"}, u"bcd"},
      {u"copyqi", {u"'abcdef'", u"4", u"2"}, u""},
      {u"copyqi", {u"'abcdef'", u"-2147483648", u"2147483647"}, u""},
      {u"copyqi", {u"'abcdef'", u"2147483647", u"-2147483648"}, u""},
      {u"copyqs", {u"'<b>x</b>'", u"'<b>'", u"'</b>'"}, u"x"},
      {u"copyqs", {u"'ab'", u"'a'", u"'z'"}, u""},
      {u"copyqsin", {u"'[1][2]'", u"2", u"'['", u"']'"}, u"2"},
      {u"copyqsin", {u"'[1][2]'", u"2147483647", u"'['", u"']'"}, u""},
      {u"copyqs_match", {u"'<a href=x>link</a>'", u"1", u"'<a*>'", u"'</a>'"}, u"link"},
      {u"copyqs_htm", {u"'<html><title>T</title>'", u"'title'"}, u"T"},
      {u"copyqs_htm", {u"'<TITLE>T</TITLE>'", u"'title'"}, u""},
      {u"copyqs_htmin", {u"'<b>1</b><b>2</b>'", u"1", u"'b'"}, u"1"},
      {u"copyqs_htmin", {u"'<b>1</b><b>2</b>'", u"9", u"'b'"}, u"2"},
      {u"exchangelongchar", {u"'a-b-c'", u"1", u"5", u"'-'", u"'+'"}, u"a+b+c"},
      {u"exchangelongchar", {u"'a-b-c'", u"1", u"3", u"'-'", u"'+'"}, u"a+b"},
      {u"exchangelongchar", {u"'a-b-c'", u"2", u"5", u"'-'", u"'+'"}, u"a-b-c"},
      {u"exchangelongchar", {u"'a-b-c'", u"0", u"5", u"'-'", u"'+'"}, u"a-b-c"},
      {u"exchangelongchar", {u"'a-b-c'", u"1", u"5", u"''", u"'+'"}, u"a-b-c"},
      {u"exchangelongchar", {u"'a-b-c'", u"1", u"2147483647", u"'-'", u"'+'"}, u"a-b-c"},
  });
}

TEST(CopyBuiltinsTest, CopyQsIgnAWritesFirstLastAndResult) {
  const struct {
    std::vector<WView> args;
    std::vector<WStr> written;  // entries 5, 6, 7
  } cases[] = {
      {{u"'x< <a> >y'", u"1", u"'<<'", u"'>>'", u"' '", u"f", u"l", u"r"}, {u"5", u"6", u"a"}},
      {{u"'x< <a> >y'", u"1", u"'<<'", u"')'", u"' '", u"f", u"l", u"r"}, {u"0", u"0", u""}},
      {{u"'x<'", u"1", u"'<<'", u"'>>'", u"' '", u"f", u"l", u"r"}, {u"2", u"0", u""}},
      {{u"'x< <a> >y'", u"2147483647", u"'<<'", u"'>>'", u"' '", u"f", u"l", u"r"},
       {u"0", u"0", u""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(u"copyqs_igna", c.args));
    const std::vector<WStr> after = RunProcedure(u"copyqs_igna", c.args);
    ASSERT_EQ(after.size(), 8u);
    EXPECT_EQ(after[0], c.args[0]);
    EXPECT_EQ((std::vector<WStr>{after[5], after[6], after[7]}), c.written);
  }
}

// ---- Trims and removals ----------------------------------------------------------

TEST(TrimBuiltinsTest, Functions) {
  ExpectCalls({
      {u"trimchara", {u"'a-b_c'", u"'-'+'_'"}, u"abc"},
      {u"trimchara",
       {u"a\x01"
        u"b",
        u"'-'"},
       u"ab"},  // U+0001 is in every set with a free slot
      {u"trimspace", {u"'a b c'"}, u"abc"},
      {u"trimlrspace", {u"' ab '"}, u"ab"},
      {u"trimereturn", {u"'a\r\nb\r'"}, u"ab"},
      {u"trimlrereturn", {u"'\nab\r'"}, u"ab"},
      {u"trimtab", {u"'\ta\tb\t'"}, u"ab"},
      {u"trimlrspaceereturn", {u"' a\r\nb '"}, u"a\r\nb"},
      {u"trimlrspaceereturn", {u" x\r\n "}, u"x\r\n"},
      {u"trimwithkovra", {u"' AB\r\nC '"}, u"abc"},
      {u"trimlrbracketschr", {u"'((a))'", u"'('", u"')'"}, u"(a)"},
      {u"trimlrbracketschr", {u"'(a'", u"'('", u"')'"}, u"(a"},
      {u"trimlrbracketschr", {u"'x'", u"'x'", u"'x'"}, u"x"},
      {u"trimleft", {u"'  ab'"}, u"ab"},
      {u"trimright", {u"'ab  '"}, u"ab"},
      {u"trimright", {u"'   '"}, u""},
      {u"trimsub", {u"'a-b-c'", u"1", u"'-'"}, u"abc"},
      {u"trimsub", {u"'a-b-c'", u"3", u"'-'"}, u"a-bc"},
      {u"trimsub", {u"'abc'", u"0", u"'x'"}, u""},
      {u"trimsub", {u"'abc'", u"4", u"'x'"}, u"abc"},
      {u"trimsub", {u"'abc'", u"5", u"'x'"}, u""},
      {u"trimsub", {u"'abc'", u"-2147483648", u"'x'"}, u""},
      {u"trimmatchsub", {u"'a1b2c'", u"1", u"'1*2'"}, u"ac"},
      {u"trimmatchsub", {u"'xaxbx'", u"1", u"'x'"}, u"ab"},
      {u"trimmatchsub", {u"'xaxbx'", u"2147483647", u"'x'"}, u""},
      {u"trimhtm", {u"'<b>bold</b> text'"}, u"bold text"},
      {u"trimhtm", {u"'a<b'"}, u"a<b"},
  });
}

// ---- Conversion, case, counters, message ------------------------------------------

TEST(ConversionBuiltinsTest, Functions) {
  ExpectCalls({
      {u"fnstrtoint", {u"'42'"}, u"42"},
      {u"fnstrtoint", {u" 42 "}, u"42"},
      {u"fnstrtoint", {u"'4 2'"}, u"0"},
      {u"fnstrtoint", {u"'$1F'"}, u"31"},
      {u"fnstrtoint", {u"'abc'"}, u"0"},
      {u"fninttostr", {u"'abc'"}, u"abc"},
      {u"fninttostr", {u"-5"}, u"-5"},
      {u"fninttostr", {u"'x'"}, u"x"},
      {u"fnlowercase", {u"'AbC-1'"}, u"abc-1"},
      {u"fnupcase", {u"'x_y'"}, u"X_Y"},
      {u"fnlowercase", {u"'\u4E2DAb\u00C4'"}, u"\u4E2Dab\u00C4"},
      {u"fnupcase", {u"'\u4E2Dab'"}, u"\u4E2DAB"},
  });
}

TEST(ConversionBuiltinsTest, IncAndDecWrapAround) {
  const struct {
    WView name;
    WView before;
    WView after;
  } cases[] = {
      {u"inc", u"5", u"6"}, {u"inc", u"9", u"10"}, {u"inc", u"'12'", u"13"},
      {u"inc", u"x", u"1"}, {u"inc", u"", u"1"},   {u"inc", u"2147483647", u"-2147483648"},
      {u"dec", u"5", u"4"}, {u"dec", u"x", u"-1"}, {u"dec", u"-2147483648", u"2147483647"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.name) + " " + Show(c.before));
    EXPECT_EQ(RunProcedure(c.name, {c.before}), std::vector<WStr>{WStr(c.after)});
  }
}

TEST(MsgBuiltinTest, AsksThePromptAndReturnsItsAnswer) {
  for (int32_t answer : {TPrompt::kYes, TPrompt::kNo, TPrompt::kCancel, TPrompt::kNotShown}) {
    SCOPED_TRACE(answer);
    TFakePrompt prompt(answer);
    EXPECT_EQ(CallByName(u"msg", {u"'Title'", u" 'Go on?'\r\n"}, &prompt),
              std::u16string(1, static_cast<char16_t>(u'0' + answer)));
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(prompt.caption_seen, u"Title");
    EXPECT_EQ(prompt.message_seen, u"Go on?");
  }
  TCallContext no_prompt;  // without a prompt the box cannot be shown
  EXPECT_EQ(CallFunction(FindFunction(u"msg"), MakeArgs({u"'a'", u"'b'"}), no_prompt), u"0");
}

// ---- URL and domain built-ins ------------------------------------------------------

TEST(UrlBuiltinsTest, Functions) {
  ExpectCalls({
      {u"fndedomain", {u"'http://www.example.com/x'"}, u"example.com"},
      {u"fndedomain", {u"' HTTP://WWW.EXAMPLE.COM/ '"}, u"example.com"},
      {u"fndedomain", {u"'http://news.shop.com.test:8080/'"}, u"shop.com.test"},
      {u"fndedomain", {u"''"}, u""},
      {u"fnfulldomain", {u"'http://www.Example.com:81/x'"}, u"www.Example.com"},
      {u"fnfulldomain", {u"'www.example.com/x'"}, u"www.example.com"},
      {u"fnfulldomain", {u"'http://\u4F8B\u5B50.\u6D4B\u8BD5/x'"}, u"\u4F8B\u5B50.\u6D4B\u8BD5"},
      {u"fnonedomain", {u"'http://a.example.com/x'", u"'example.com'"}, u"True"},
      {u"fnonedomain", {u"'http://example.com'", u"'example.net'"}, u"False"},
      {u"fnitmatch", {u"'www.example.com'", u"'http://WWW.EXAMPLE.COM/'"}, u"True"},
      {u"fnitmatch", {u"'example.com/news'", u"'http://example.com/'"}, u"False"},
      {u"fnitmatch", {u"'*.example.com'", u"'http://a.example.com/x'"}, u"True"},
      {u"fnitmatch", {u"''", u"'http://example.com/'"}, u"False"},
  });
}

// ---- Robustness ---------------------------------------------------------------------

// Every built-in with every argument drawn from extreme positions, empty and
// odd texts: nothing may crash or read outside its input (the sanitizer build
// checks the reads), and a number comes back as a number.
TEST(BuiltinRobustnessTest, ExtremeArgumentsNeverFail) {
  const WView values[] = {u"'a<b>*c'", u"2147483647", u"-2147483648", u"0",
                          u"''",       u"\0\r\n"sv,   u"'*'+''+'x'"};
  const size_t kValues = std::size(values);
  TFakePrompt prompt(TPrompt::kNo);
  TCallContext ctx{&prompt};
  const auto functions = FunctionTable();
  for (size_t f = 0; f < functions.size(); ++f) {
    const TFunctionEntry& entry = functions[f];
    size_t combinations = 1;
    for (int32_t i = 0; i < entry.arity; ++i) combinations *= kValues;
    for (size_t n = 0; n < combinations; ++n) {
      std::vector<WView> args;
      for (size_t i = 0, rest = n; i < static_cast<size_t>(entry.arity); ++i, rest /= kValues) {
        args.push_back(values[rest % kValues]);
      }
      const WStr result = CallFunction(static_cast<int32_t>(f), MakeArgs(args), ctx);
      if (entry.kind == TFunctionKind::kInteger) {
        ASSERT_FALSE(result.empty()) << Describe(entry.name, args);
      }
    }
  }
  const auto procedures = ProcedureTable();
  for (size_t p = 0; p < procedures.size(); ++p) {
    const TProcedureEntry& entry = procedures[p];
    size_t combinations = 1;
    for (int32_t i = 0; i < entry.arity && i < 5; ++i) combinations *= kValues;
    for (size_t n = 0; n < combinations; ++n) {
      std::vector<WView> args;
      for (size_t i = 0, rest = n; i < static_cast<size_t>(entry.arity); ++i, rest /= kValues) {
        args.push_back(values[rest % kValues]);
      }
      TArgList list = MakeArgs(args);
      CallProcedure(static_cast<int32_t>(p), list, ctx);
      ASSERT_EQ(list.size(), args.size());
    }
  }
}

}  // namespace
}  // namespace kovra
