// Interpreter behaviour that script cases cannot show: stop requests, the
// nesting bound, the Prompt and HttpClient ports, and hostile input.
#include "interpreter/UnitParsersProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "interpreter/ScriptParsers.h"
#include "platform/CodePage.h"
#include "platform/Prompt.h"

namespace kovra {
namespace {

std::string RunUtf8(std::string_view script, std::string_view data = {}, const TRunEnvironment& env = {}) {
  return EncodeUtf8(RunScriptText(DecodeUtf8(script), DecodeUtf8(data), env).text);
}

std::string ErrorText(std::string_view message, int position) {
  return std::string(message) + "\r\n语句开始位置：" + std::to_string(position);
}

TEST(StopRequest, EndlessLoopStopsOnBudgetWithEffectsKept) {
  TRunEnvironment env;
  env.statement_budget = 1000;
  const TRunOutcome out = RunScriptText(
      u"var i:integer; endvar [script]result := 'before';\r\nwhile true do inc(i);\r\n[/script]", u"", env);
  EXPECT_TRUE(out.failed);
  EXPECT_TRUE(EncodeUtf8(out.text).starts_with("脚本已被中止\r\n语句开始位置："));
}

TEST(StopRequest, EmptyLoopBodiesStopToo) {
  TRunEnvironment env;
  env.statement_budget = 500;
  for (const char* body : {"while true do ;", "repeat until false;", "while true do begin end;"}) {
    SCOPED_TRACE(body);
    const std::string script = std::string("[script]") + body + "[/script]";
    EXPECT_TRUE(RunScriptText(DecodeUtf8(script), u"", env).failed);
  }
}

TEST(StopRequest, FlagFromAnotherThreadStopsTheRun) {
  std::atomic<bool> stop{false};
  TRunEnvironment env;
  env.stop = &stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop = true;
  });
  const TRunOutcome out = RunScriptText(u"[script]while true do result := result + 'x';[/script]", u"", env);
  stopper.join();
  EXPECT_TRUE(out.failed);
  EXPECT_TRUE(EncodeUtf8(out.text).starts_with("脚本已被中止"));
}

TEST(Nesting, DeepBlocksEndWithAnErrorInsteadOfACrash) {
  std::string deep_blocks = "[script]\r\n";
  std::string deep_ifs = "[script]\r\n";
  for (int i = 0; i < 10000; ++i) {
    deep_blocks += "if true then\r\nbegin\r\n";
    deep_ifs += "if true then ";
  }
  deep_blocks += "result := 'x';\r\n";
  deep_ifs += "result := 'x';\r\n";
  for (int i = 0; i < 10000; ++i) deep_blocks += "end;\r\n";
  for (const std::string& script : {deep_blocks + "[/script]", deep_ifs + "[/script]"}) {
    const TRunOutcome out = RunScriptText(DecodeUtf8(script), u"d");
    EXPECT_TRUE(out.failed);
    const std::string text = EncodeUtf8(out.text);
    EXPECT_NE(text.find("语句嵌套层数超过上限：200"), std::string::npos) << text.substr(0, 200);
  }
}

TEST(Nesting, TwoHundredLevelsRunAndOneMoreDoesNot) {
  for (const int levels : {200, 201}) {
    SCOPED_TRACE(levels);
    for (const char* shape : {"if true then ", "while x < 1 do "}) {
      std::string script = "var x:integer; endvar [script]\r\n";
      for (int i = 0; i < levels; ++i) script += shape;
      script += "inc(x);\r\nresult := fninttostr(x);\r\n[/script]";
      const TRunOutcome out = RunScriptText(DecodeUtf8(script), u"");
      EXPECT_EQ(out.failed, levels > 200) << EncodeUtf8(out.text).substr(0, 80);
    }
  }
}

TEST(Nesting, ModerateNestingRuns) {
  std::string script = "[script]\r\n";
  for (int i = 0; i < 150; ++i) script += "if true then\r\nbegin\r\n";
  script += "result := 'deep';\r\n";
  for (int i = 0; i < 150; ++i) script += "end;\r\n";
  script += "[/script]";
  EXPECT_EQ(RunUtf8(script), "deep");
}

TEST(Nesting, DeepExpressionsGiveUpQuietly) {
  std::string expression;
  for (int i = 0; i < 10000; ++i) expression += "getstring(";
  expression += "'x'";
  expression += std::string(10000, ')');
  EXPECT_EQ(RunUtf8("[script]result := " + expression + ";[/script]", "d"), "");
  std::string condition(10000, '(');
  condition += "true" + std::string(10000, ')');
  EXPECT_TRUE(RunScriptText(DecodeUtf8("[script]if " + condition + " then result := 'y';[/script]"), u"").failed);
}

class TFakePrompt final : public TPrompt {
 public:
  explicit TFakePrompt(int32_t answer) : answer_(answer) {}
  int32_t AskYesNoCancel(std::u16string_view caption, std::u16string_view message) override {
    asked.push_back(EncodeUtf8(caption) + "|" + EncodeUtf8(message));
    return answer_;
  }
  void ShowNotice(std::u16string_view, std::u16string_view) override {}
  std::vector<std::string> asked;

 private:
  int32_t answer_;
};

TEST(Msg, AsksThePromptAndReturnsItsAnswer) {
  for (int32_t answer : {TPrompt::kYes, TPrompt::kNo, TPrompt::kCancel, TPrompt::kNotShown}) {
    TFakePrompt prompt(answer);
    TRunEnvironment env;
    env.prompt = &prompt;
    EXPECT_EQ(RunUtf8("var i:integer; endvar [script]i := msg('Title', 'Go on?');"
                  "result := fninttostr(i);[/script]", "", env),
              std::to_string(answer));
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"Title|Go on?"});
  }
}

// A client that answers from a table and records what it was asked.
class TFakeHttp final : public THttpClient {
 public:
  static inline std::vector<std::string> requests;
  static inline THttpSettings last_settings;
  THttpResult Get(const std::string& url, const THttpSettings& settings) override {
    requests.push_back("GET " + url);
    last_settings = settings;
    if (url.find("fail") != std::string::npos) return {false, {}, "connection refused"};
    return {true, u"body of " + DecodeUtf8(url), {}};
  }
  THttpResult Post(const std::string& url, const std::vector<std::string>& lines,
                   const THttpSettings& settings) override {
    std::string joined;
    for (const std::string& l : lines) joined += "[" + l + "]";
    requests.push_back("POST " + url + " " + joined);
    last_settings = settings;
    return {true, u"posted", {}};
  }
};

TRunEnvironment FakeHttpEnvironment() {
  TFakeHttp::requests.clear();
  TRunEnvironment env;
  env.http_factory = [] { return std::unique_ptr<THttpClient>(new TFakeHttp); };
  return env;
}

TEST(IdHttp, GetAndPostFillTheThirdArgument) {
  const TRunEnvironment env = FakeHttpEnvironment();
  EXPECT_EQ(RunUtf8("var u:string; endvar [script]u := 'http://a.test/x';"
                "idHttp( 'Get' , u , result );[/script]", "", env),
            "body of http://a.test/x");
  EXPECT_EQ(RunUtf8("[script]idHttp( 'Post' , 'http://a.test/p' , result , 'a=1' + 'b=2' );[/script]", "", env),
            "posted");
  EXPECT_EQ(TFakeHttp::requests,
            (std::vector<std::string>{"GET http://a.test/x", "POST http://a.test/p [a=1][b=2]"}));
}

TEST(IdHttp, ReadAndSetProperties) {
  const TRunEnvironment env = FakeHttpEnvironment();
  const struct {
    const char* statements;
    const char* expect;
  } cases[] = {
      {"idHttp( 'READ' , 'AllowCookies' , result );", "true"},
      {"idHttp( 'set' , 'allowcookies' , 'FALSE' ); idHttp( 'read' , 'allowcookies' , result );", "false"},
      {"idHttp( 'set' , 'allowcookies' , 'no' ); idHttp( 'read' , 'allowcookies' , result );", "true"},
      {"idHttp( 'set' , 'httpoptions' , 'hoForceEncodeParams' ); idHttp( 'read' , 'httpoptions' , result );",
       "hoForceEncodeParams"},
      {"idHttp( 'read' , 'httpoptions' , result );", "hoKeepOrigProtocol+hoForceEncodeParams"},
      {"idHttp( 'set' , 'protocolversion' , 'PV1_0' ); idHttp( 'read' , 'protocolversion' , result );", "pv1_0"},
      {"idHttp( 'set' , 'protocolversion' , 'x' ); idHttp( 'read' , 'protocolversion' , result );", "pv1_1"},
      {"idHttp( 'set' , 'port' , 'abc' ); idHttp( 'read' , 'port' , result );", "0"},
      {"idHttp( 'set' , 'request.useragent' , 'Bot/1' ); idHttp( 'read' , 'Request.UserAgent' , result );", "Bot/1"},
      {"idHttp( 'read' , 'nosuchproperty' , result );", "unchanged"},
      {"idHttp( 'read' , 'port' );", "unchanged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statements);
    EXPECT_EQ(RunUtf8(std::string("[script]") + c.statements + "[/script]", "unchanged", env), c.expect);
  }
}

TEST(IdHttp, SettingsReachTheClient) {
  const TRunEnvironment env = FakeHttpEnvironment();
  RunUtf8("[script]idHttp( 'set' , 'handleredirects' , 'false' ); idHttp( 'get' , 'http://a.test/' , result );[/script]",
      "", env);
  EXPECT_FALSE(TFakeHttp::last_settings.handle_redirects);
}

TEST(IdHttp, AFailedRequestEndsTheRunAndKeepsEarlierEffects) {
  const TRunEnvironment env = FakeHttpEnvironment();
  const TRunOutcome out = RunScriptText(
      u"var i:integer; endvar [script]\r\nwhile true do\r\nbegin\r\n"
      u"idHttp( 'get' , 'http://fail.test/' , result );\r\nend;\r\nresult := 'after';[/script]",
      u"", env);
  EXPECT_TRUE(out.failed);
  EXPECT_EQ(EncodeUtf8(out.text),
            ErrorText("idHttp 请求失败：http://fail.test/：connection refused", 3));
  EXPECT_EQ(TFakeHttp::requests.size(), 1u);
}

TEST(IdHttp, NoClientIsAClearError) {
  const TRunOutcome out = RunScriptText(u"[script]idHttp( 'get' , 'http://a.test/' , result );[/script]", u"");
  EXPECT_TRUE(out.failed);
  EXPECT_NE(EncodeUtf8(out.text).find("http://a.test/"), std::string::npos);
}

TEST(HostileInput, NulAndUnpairedUnitsInScriptAndData) {
  using namespace std::string_view_literals;
  // A NUL inside a quoted text and between statements; lone surrogates.
  const std::u16string script(u"[script]result := result + '\0\xDC81';\0\0[/script]"sv);
  const std::u16string data(u"a\0b\xD800"sv);
  const TRunOutcome out = RunScriptText(script, data);
  EXPECT_FALSE(out.failed);
  std::u16string expected = data;
  expected += u'\0';
  expected += u'\xDC81';
  EXPECT_EQ(out.text, expected);
}

TEST(HostileInput, LargeDataIsLeftUntouched) {
  std::u16string data(16u << 20, u'x');
  data[12345] = u'\0';
  const TRunOutcome out = RunScriptText(u"var i:integer; endvar [script]i := poschar(result, 1, 'y');[/script]", data);
  EXPECT_EQ(out.text.size(), data.size());
  EXPECT_TRUE(out.text == data);
}

}  // namespace
}  // namespace kovra
