// Running a library script for a page: the options callback, the run with
// "url" set, the report with its finish line, and the declarations.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "library/ScriptParsersPageRun.h"
#include "library/UnitTScriptLibrary.h"
#include "library/ksEditor.h"
#include "platform/CodePage.h"

namespace {

using kovra::TScriptLibrary;
using kovra_test::TTempDir;

const std::string kFinishWhite =
    "<Br><font color=White>Script Finished\xA3\xA1&nbsp&nbsp&nbsp This message is come from "
    "KovraEngine.ScriptParsers</font>";
const std::string kFinishRed =
    "<Br><font color=Red>Script Finished\xA3\xA1&nbsp&nbsp&nbsp This message is come from "
    "KovraEngine.ScriptParsers</font>";

// A code pointer below the presence threshold: calling it would crash.
template <class F>
F Absent(uintptr_t value) {
  return reinterpret_cast<F>(value);
}

// What the host saw during one run.
struct TSession {
  KovraReportCallback install = nullptr;  // stored into ReportCode by the options callback
  std::vector<TRunInfo> options;
  std::vector<std::string> reports;
  std::vector<uint32_t> report_ids;
};

void KOVRA_REGCALL OnOptions(void* data, TRunInfo* info) {
  auto* session = static_cast<TSession*>(data);
  session->options.push_back(*info);
  info->ReportCode = session->install;
  info->ReportData = session;
}

void KOVRA_REGCALL OnReport(void* data, const char* report, uint32_t request_id) {
  auto* session = static_cast<TSession*>(data);
  session->reports.emplace_back(report);
  session->report_ids.push_back(request_id);
}

TEST(PageReport, ResultThenTheFinishLine) {
  EXPECT_EQ(kovra::PageReport("abc"), "abc" + kFinishWhite);
  EXPECT_EQ(kovra::PageReport(""), kFinishRed);
  EXPECT_EQ(kovra::PageReport(std::string("\0", 1)), std::string("\0", 1) + kFinishWhite);
}

TEST(CallbackPresent, ThresholdIs0x10000) {
  const struct {
    uintptr_t code;
    bool present;
  } cases[] = {{0, false}, {1, false}, {0xFFFF, false}, {0x10000, true}, {0x10001, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(kovra::CallbackPresent(reinterpret_cast<const void*>(c.code)), c.present);
  }
}

TEST(ReadPageDeclarations, BlanksAndCapitalsDoNotMatter) {
  struct Case {
    std::u16string text;
    std::vector<std::string> strings, integers;
  };
  const Case cases[] = {
      {u"a:string;n:integer;b:string;", {"a", "b"}, {"n"}},
      {u"  Title : String ;\r\n\tN :INTEGER;\r\n", {"title"}, {"n"}},
      {u"a:string;tail", {"a"}, {}},  // a last part without its type is dropped
      {u"a:text;b:string;", {"a:text;b"}, {}},
      {u"", {}, {}},
      {u"\r\n  \r\n", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kovra::ToNarrow(c.text));
    const kovra::TScriptDeclarations d = kovra::ReadPageDeclarations(c.text);
    std::vector<std::string> strings, integers;
    for (const auto& s : d.str_names) strings.push_back(kovra::ToNarrow(s));
    for (const auto& s : d.int_names) integers.push_back(kovra::ToNarrow(s));
    EXPECT_EQ(strings, c.strings);
    EXPECT_EQ(integers, c.integers);
  }

  // At most 255 names of a kind.
  std::u16string many;
  for (int i = 0; i < 300; ++i) many += u"v" + kovra::ToWide(std::to_string(i)) + u":string;";
  const kovra::TScriptDeclarations d = kovra::ReadPageDeclarations(many);
  ASSERT_EQ(d.str_names.size(), 255u);
  EXPECT_EQ(kovra::ToNarrow(d.str_names.back()), "v254");
}

struct TPageScript {
  std::string name;  // empty: no name in the header
  std::string declarations, body;
  bool need_result = true, new_page = false;
};

class PageRunTest : public testing::Test {
 protected:
  void Add(const TPageScript& s) {
    kovra::TScriptHeader h;
    if (!s.name.empty()) h.Name = kovra::ToWide(s.name);
    h.DefineVariant = kovra::ToWide(s.declarations);
    h.ScriptContent = kovra::ToWide(s.body);
    h.NeedResult = s.need_result;
    h.ResultToNewPage = s.new_page;
    std::string text = kovra::ToNarrow(kovra::ComposeScriptText(h));
    // A header without a name line falls back to the default name.
    if (s.name.empty()) text.replace(text.find("    Name = de_nowage ;\r\n"), 24, "");
    lib_.ImportScriptText(text);
  }

  // One RunScript call with the recording callbacks.
  TSession Run(const char* name, const char* page_url, uint32_t request_id = 0x1234ABCD) {
    TSession session;
    session.install = &OnReport;
    TRunRequest request{};
    request.RequestId = request_id;
    request.PageUrl = page_url;
    kovra::TScriptParser(lib_, kovra::TRunEnvironment{})
        .RunScript(name, &request, &OnOptions, &session);
    return session;
  }

  TTempDir dir_;
  TScriptLibrary lib_{dir_.path()};
};

TEST_F(PageRunTest, OptionsThenRunThenReport) {
  Add({"echo", "", "result := url;", true, false});
  Add({"flags", "", "result := 'x';", false, true});
  Add({"empty", "", "", false, true});
  Add({"silent", "", "result := '';"});
  Add({"declared", "  Title : String ;\r\n\tN :INTEGER;",
       "title := 'T:';\r\nresult := title + url;"});
  Add({"", "", "result := 'anonymous';"});
  Add({"echo", "", "result := 'second';"});
  Add({"failing", "", "foo;"});

  struct Case {
    const char* name;
    const char* url;
    uint8_t need_result, new_page;
    std::string report;
  };
  const Case cases[] = {
      {"echo", "http://a.com/x", 1, 0,
       "http://a.com/x" + kFinishWhite},  // the first of two "echo" scripts
      {"flags", "http://a.com/", 0, 1, "x" + kFinishWhite},
      {"empty", "http://a.com/", 0, 1, kFinishRed},
      {"silent", "http://a.com/", 1, 0, kFinishRed},
      {"declared", "http://b.org/", 1, 0, "T:http://b.org/" + kFinishWhite},
      {"de_nowage", "http://a.com/", 1, 0, "anonymous" + kFinishWhite},
      {"echo", nullptr, 1, 0, kFinishRed},  // no page address: url is empty
      {"Echo", "http://a.com/", 0, 0, kFinishRed},
      {"", "http://a.com/", 0, 0, kFinishRed},
      {nullptr, "http://a.com/", 0, 0, kFinishRed},
      // "无效语句：foo;" and the position line, in code page 936.
      {"failing", "http://a.com/", 1, 0,
       "\xCE\xDE\xD0\xA7\xD3\xEF\xBE\xE4\xA3\xBA"
       "foo;\r\n"
       "\xD3\xEF\xBE\xE4\xBF\xAA\xCA\xBC\xCE\xBB\xD6\xC3\xA3\xBA"
       "13" +
           kFinishWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name == nullptr ? "(null)" : c.name);
    const TSession s = Run(c.name, c.url);
    ASSERT_EQ(s.options.size(), 1u);
    const TRunInfo& info = s.options[0];
    EXPECT_EQ(info.NeedResult, c.need_result);
    EXPECT_EQ(info.ResultToNewPage, c.new_page);
    EXPECT_EQ(info.RequestId, 0x1234ABCDu);
    EXPECT_EQ(info.Reserved1[0] | info.Reserved1[1], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.Reserved2), 16),
              std::string(16, '\0'));
    EXPECT_EQ(info.ReportCode, nullptr);
    EXPECT_EQ(info.ReportData, nullptr);
    EXPECT_EQ(s.reports, std::vector<std::string>{c.report});
    EXPECT_EQ(s.report_ids, std::vector<uint32_t>{0x1234ABCDu});
  }
}

TEST_F(PageRunTest, CallbacksAreCalledOnlyWhenPresent) {
  Add({"echo", "", "result := url;"});
  TRunRequest request{};
  request.RequestId = 42;
  request.PageUrl = "http://a.com/";

  // No request: nothing happens at all.
  TSession session;
  session.install = &OnReport;
  kovra::TScriptParser(lib_, {}).RunScript("echo", nullptr, &OnOptions, &session);
  EXPECT_TRUE(session.options.empty());

  // An options callback below the threshold is not called; without it no
  // report callback is installed either.
  for (const uintptr_t code : {uintptr_t{0}, uintptr_t{0xFFFF}}) {
    SCOPED_TRACE(code);
    kovra::TScriptParser(lib_, {}).RunScript("echo", &request, Absent<KovraOptionsCallback>(code),
                                             &session);
  }

  // A report callback below the threshold is not called.
  session.install = Absent<KovraReportCallback>(0xFFFF);
  kovra::TScriptParser(lib_, {}).RunScript("echo", &request, &OnOptions, &session);
  EXPECT_EQ(session.options.size(), 1u);

  // An options callback that installs nothing gets no report.
  session.install = nullptr;
  kovra::TScriptParser(lib_, {}).RunScript("echo", &request, &OnOptions, &session);
  EXPECT_EQ(session.options.size(), 2u);
  EXPECT_TRUE(session.reports.empty());

  // The request's ID reaches both callbacks.
  session.install = &OnReport;
  request.RequestId = 0xFFFFFFFFu;
  kovra::TScriptParser(lib_, {}).RunScript("echo", &request, &OnOptions, &session);
  EXPECT_EQ(session.options.back().RequestId, 0xFFFFFFFFu);
  EXPECT_EQ(session.reports, std::vector<std::string>{"http://a.com/" + kFinishWhite});
  EXPECT_EQ(session.report_ids, std::vector<uint32_t>{0xFFFFFFFFu});
}

}  // namespace
