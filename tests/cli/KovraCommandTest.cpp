// The kovra command as a shell user meets it: output, exit status, options.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

using kovra_test::TCommandResult;

// Runs kovra; standard error is folded into the output after a "|" so both
// can be checked in one comparison.
TCommandResult Kovra(const std::string& args, const std::string& input = "") {
  TCommandResult r = kovra_test::RunCommand(std::string(KOVRA_BINARY) + " " + args, input);
  r.out += "|" + r.err;
  return r;
}

// Each test process writes its files into a folder of its own: CTest runs
// them in parallel.
std::filesystem::path TestDir() {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kovra_cli_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

std::string WriteFile(const std::string& name, const std::string& content) {
  const std::filesystem::path path = TestDir() / name;
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

TEST(KovraRun, PrintsTheResult) {
  const std::string script = WriteFile("upper.txt", "[script]result := fnupcase(result);[/script]");
  const TCommandResult r = Kovra("run " + script + " -", "abc 中文");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "ABC 中文|");
}

TEST(KovraRun, ScriptFilesInCodePage936AndUtf8) {
  // "中" in code page 936 and in UTF-8.
  const std::string gbk = WriteFile("gbk.txt", "[script]result := '\xD6\xD0';[/script]");
  const std::string utf8 = WriteFile("utf8.txt", "[script]result := '中';[/script]");
  EXPECT_EQ(Kovra("run " + gbk).out, "中|");
  EXPECT_EQ(Kovra("run " + utf8).out, "中|");
}

TEST(KovraRun, EncodingOptionAppliesToDataAndOutput) {
  const std::string script = WriteFile("same.txt", "[script][/script]");
  const TCommandResult r = Kovra("run --encoding 936 " + script + " -", "\xD6\xD0\x81");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "\xD6\xD0\x81|");
}

TEST(KovraRun, ErrorTextsExitWithOne) {
  const std::string script = WriteFile("bad.txt", "[script]\r\nfoo;\r\n[/script]");
  const TCommandResult r = Kovra("run " + script);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "|无效语句：foo;\r\n语句开始位置：7\n");
}

TEST(KovraRun, TimeoutStopsAnEndlessScript) {
  const std::string script = WriteFile("endless.txt", "[script]while true do result := 'x';[/script]");
  const TCommandResult r = Kovra("run --timeout 0.2 " + script);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.starts_with("|脚本已被中止")) << r.out;
}

TEST(KovraRun, UsageAndFileErrorsExitWithTwo) {
  const struct {
    const char* args;
    const char* message_start;
  } cases[] = {
      {"", "Usage: kovra"},
      {"frobnicate", "kovra: unknown verb 'frobnicate'"},
      {"run", "kovra: usage: kovra run SCRIPT [DATA]"},
      {"run /nonexistent/script.txt", "kovra: cannot read /nonexistent/script.txt: No such file or directory"},
      {"run --timeout abc x", "kovra: --timeout needs a positive number of seconds"},
      {"run --encoding nosuchcodepage x", "kovra: unknown encoding nosuchcodepage"},
      {"run - -", "kovra: only one of SCRIPT and DATA can be read from standard input"},
      {"run --bogus x", "kovra: unknown option --bogus"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const TCommandResult r = Kovra(c.args);
    EXPECT_EQ(r.status, 2);
    const std::string err = r.out.substr(r.out.find('|') + 1);
    const std::string out = r.out.substr(0, r.out.find('|'));
    EXPECT_TRUE(err.starts_with(c.message_start) || out.starts_with(c.message_start)) << r.out;
  }
}

TEST(KovraRun, HelpExitsWithZero) {
  const TCommandResult r = Kovra("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--timeout SECONDS"), std::string::npos);
}

}  // namespace

namespace {

const std::string kExampleScripts = std::string(KOVRA_EXAMPLES) + "/Scripts";

TEST(KovraLibraryVerbs, WhichNamesTheServingScript) {
  const struct {
    const char* url;
    int status;
    const char* out;
  } cases[] = {
      {"http://127.0.0.1:8080/news.html", 0, "news_front\n|"},
      {"http://127.0.0.1:8080/index.html", 0, "news_front\n|"},
      {"http://127.0.0.1:8080/shop.html", 0, "shop_list\n|"},
      {"http://elsewhere.test/news.html", 1, "|no script serves http://elsewhere.test/news.html\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const TCommandResult r = Kovra(std::string("which ") + c.url + " --scripts " + kExampleScripts);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
  }
}

TEST(KovraLibraryVerbs, CheckSaysWhatDecided) {
  const struct {
    const char* parent;
    const char* target;
    const char* out;
  } cases[] = {
      {"http://127.0.0.1:1/news.html", "http://img.example-cdn.test/a.jpg",
       "allow: [Allow] *.example-cdn.test, rules of script N (news_front)\n|"},
      {"http://127.0.0.1:1/news.html", "http://ads.tracker.test/click",
       "filter: [Filter] ads.*.test, rules of script N (news_front)\n|"},
      {"http://127.0.0.1:1/shop.html", "http://www.other-shop.test/deal.html",
       "filter: [ExUrl] All Filter, another site, rules of script N (shop_list)\n|"},
      {"http://127.0.0.1:1/news.html", "http://win.bad-site.test/lottery.html",
       "would ask: no rule decides a jump to another site (rules of script N (news_front)); "
       "the target is on the black list\n|"},
      {"http://elsewhere.test/", "http://elsewhere.test/x", "allow: no rule decides and the target is on "
       "the same site (no script covers the page)\n|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const TCommandResult r =
        Kovra(std::string("check ") + c.parent + " " + c.target + " --scripts " + kExampleScripts);
    EXPECT_EQ(r.status, 0);
    // Script IDs follow the folder's listing order, which the file system decides.
    EXPECT_EQ(std::regex_replace(r.out, std::regex("script [0-9]+"), "script N"), c.out);
  }
}

TEST(KovraLibraryVerbs, DomainAndMissingLibrary) {
  EXPECT_EQ(Kovra("domain http://news.shop.com.test:8080/").out, "shop.com.test\n|");
  EXPECT_EQ(Kovra("domain ''").out, "error\n|");
  const TCommandResult r = Kovra("which http://a.test/ --scripts /nonexistent/Scripts");
  EXPECT_EQ(r.status, 1);
}

}  // namespace
