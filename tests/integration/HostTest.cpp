// The engine as a browser meets it: libKovraEngine.so copied into a fresh
// folder with a Scripts folder of its own, loaded by kovra_host with dlopen.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class HostTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kovra_host_test_" + std::to_string(getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Scripts");
    fs::copy_file(KOVRA_ENGINE_LIBRARY, dir_ / "libKovraEngine.so");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteScript(const std::string& file, const std::string& content) {
    std::ofstream(dir_ / "Scripts" / file, std::ios::binary) << content;
  }

  // Runs kovra_host on the copied engine; returns its standard output.
  std::string Host(const std::string& args) {
    const kovra_test::TCommandResult r = kovra_test::RunCommand(
        std::string(KOVRA_HOST) + " " + (dir_ / "libKovraEngine.so").string() + " " + args + " 2>&1");
    status_ = r.status;
    return r.out;
  }

  fs::path dir_;
  int status_ = 0;
};

// A script file as the script manager writes it.
std::string ScriptFile(const std::string& name, const std::string& url_match, const std::string& rules,
                       const std::string& header_name, const std::string& match_url, const std::string& body) {
  std::string s = "[Name]\r\n\t" + name + "\r\n\r\n\r\n\r\n[Url Match]\r\n\r\n" + url_match +
                  "\r\n[/Url Match]\r\n\r\n\r\n\r\n[Navigate2 Set]\r\n\r\n" + rules +
                  "\r\n[/Navigate2 Set]\r\n\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n  [Header Message]\r\n\r\n"
                  "    Name = " + header_name + " ;\r\n    Match Url = " + match_url +
                  " ;\r\n    Need Result = True ;\r\n\r\n  [/Header Message]\r\n\r\n\r\n\r\n"
                  "  [Define Variant]\r\n\r\n    s:string;\r\n\r\n  [/Define Variant]\r\n\r\n\r\n\r\n"
                  "  [Script Content]\r\n\r\n    " + body + "\r\n\r\n  [/Script Content]\r\n\r\n[/Script]\r\n";
  return s;
}

TEST_F(HostTest, FindsAndRunsTheScriptForAPage) {
  WriteScript("news.ks", ScriptFile("News", "\t[Match it]\tnews.example.com", "\t[ExUrl]\t\tAll Filter",
                                    "news", "'*.example.com/news/*'", "s := fnfulldomain(url); result := 'host ' + s;"));
  WriteScript("shop.ks", ScriptFile("Shop", "\t[Exact Match]\tshop.example.com", "",
                                    "shop", "'shop.example.com/item*.html'", "result := '';"));
  EXPECT_EQ(Host("which http://news.example.com/news/1.html"), "news\n");
  EXPECT_EQ(Host("which http://shop.example.com/item7.html"), "shop\n");
  EXPECT_EQ(Host("which http://other.test/"), "\n");
  EXPECT_EQ(Host("page news http://news.example.com/news/1.html"),
            "options: NeedResult=1 ResultToNewPage=0 RequestId=4242\n"
            "report (1, id 4242): host news.example.com<Br><font color=White>Script Finished\xA3\xA1"
            "&nbsp&nbsp&nbsp This message is come from KovraEngine.ScriptParsers</font>\n");
  EXPECT_EQ(Host("page nosuch http://x.test/"),
            "options: NeedResult=0 ResultToNewPage=0 RequestId=4242\n"
            "report (1, id 4242): <Br><font color=Red>Script Finished\xA3\xA1"
            "&nbsp&nbsp&nbsp This message is come from KovraEngine.ScriptParsers</font>\n");
}

TEST_F(HostTest, FiltersNavigationsWithTheCoveringScript) {
  WriteScript("news.ks", ScriptFile("News", "\t[Match it]\tnews.example.com",
                                    "\t[ExUrl]\t\tDefault\r\n\t[Allow]\t\t*.partner.test\r\n\t[Filter]\t*.tracker.test",
                                    "news", "'news.example.com'", "result := 'x';"));
  EXPECT_EQ(Host("filters http://news.example.com/a"),
            "Found=-1 HasRawScript=0 ScriptId=1 ExUrl=default\nAllow[1]=*.partner.test\nFilter[1]=*.tracker.test\n");
  EXPECT_EQ(Host("check http://news.example.com/a http://www.partner.test/x 1"),
            "isInFilters=0 Asked=0 ScriptId=1\n");
  EXPECT_EQ(Host("check http://news.example.com/a http://ads.tracker.test/ 1"),
            "isInFilters=-1 Asked=0 ScriptId=1\n");
  // Undecided and cross-site: without a display the ask step filters.
  EXPECT_EQ(Host("check http://news.example.com/a http://elsewhere.test/ 1"),
            "isInFilters=-1 Asked=-1 ScriptId=1\n");
  EXPECT_EQ(Host("check http://news.example.com/a http://elsewhere.test/ 0"),
            "isInFilters=0 Asked=0 ScriptId=1\n");
  EXPECT_EQ(Host("check http://news.example.com/a 'JAVASCRIPT:void(0)' 1"),
            "isInFilters=0 Asked=0 ScriptId=1\n");
}

TEST_F(HostTest, BlackListAndDomains) {
  std::ofstream(dir_ / "Scripts" / "BlackList.ini", std::ios::binary) << "ads.bad.test\r\n\r\n*.tracker.test\r\n";
  EXPECT_EQ(Host("blacklisted http://ads.bad.test/x"), "-1\n");
  EXPECT_EQ(Host("blacklisted http://a.tracker.test/"), "-1\n");
  EXPECT_EQ(Host("blacklisted http://good.test/"), "0\n");
  EXPECT_EQ(Host("domain http://www.example.com.cn/x"), "example.com.cn\n");
  EXPECT_EQ(Host("domain ''"), "error\n");
}

TEST_F(HostTest, BadLibrariesLoadAndAnswer) {
  WriteScript("garbage.ks", std::string("\x00\xff\xfe garbage \r\r\n\n[Name", 20));
  WriteScript("long.ks", std::string(1 << 20, 'x'));
  fs::create_directories(dir_ / "Scripts" / "folder.ks");
  WriteScript("ok.ks", ScriptFile("Ok", "\t[Match it]\tok.test", "", "ok", "'ok.test'", "result := 'fine';"));
  EXPECT_EQ(Host("which http://ok.test/"), "ok\n");
  EXPECT_EQ(Host("filters http://ok.test/"), "Found=-1 HasRawScript=0 ScriptId=3 ExUrl=\n");
}

TEST_F(HostTest, NoScriptsFolder) {
  fs::remove_all(dir_ / "Scripts");
  EXPECT_EQ(Host("which http://ok.test/"), "\n");
  EXPECT_EQ(Host("filters http://ok.test/"), "Found=0 HasRawScript=0 ScriptId=0 ExUrl=\n");
  EXPECT_EQ(Host("view http://ok.test/ 0"), "view done\n");
  EXPECT_FALSE(fs::exists(dir_ / "Scripts"));
}

TEST_F(HostTest, CallbacksGetTheirArguments) {
  EXPECT_NE(Host("conventions").find("ok: callbacks called with their arguments"), std::string::npos);
}

}  // namespace
