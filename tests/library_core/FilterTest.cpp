// The navigation filter, the rules that cover a page, the black list, the
// safe main domain, and host strings at the boundary.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "library/UnitEngine_urlFilterFn.h"
#include "library/UnitHostString.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "platform/Prompt.h"

namespace {

namespace fs = std::filesystem;
using kovra::TFilterReason;
using kovra::TScriptLibrary;
using kovra::TScripts;
using kovra_test::HostText;
using kovra_test::ReadBytes;
using kovra_test::THostList;
using kovra_test::THostString;
using kovra_test::TTempDir;
using kovra_test::WriteBytes;
using Kind = TFilterReason::Kind;

// ---- Host strings -------------------------------------------------------------

TEST(HostString, ViewsAndNewStrings) {
  EXPECT_EQ(kovra::HostView(nullptr), "");
  const THostString text(std::string("a\0b", 3));
  EXPECT_EQ(kovra::HostView(text.get()), std::string("a\0b", 3));  // the length counts, not the NUL
  // A negative length reads as the empty text.
  const char block[] = {'\xFF', '\xFF', '\xFF', '\xFF', '\xFE', '\xFF', '\xFF', '\xFF', 'x', '\0'};
  EXPECT_EQ(kovra::HostView(block + 8), "");

  EXPECT_EQ(kovra::NewHostString(""), nullptr);
  char* s = kovra::NewHostString(std::string("x\0y", 3));
  EXPECT_EQ(HostText(s), std::string("x\0y", 3));
  KovraFreeHostString(s);
}

// ---- isInFilters --------------------------------------------------------------

// The ask step as a test sees it: every question recorded, a fixed answer.
class TRecordingAsker final : public kovra::TAskUser {
 public:
  explicit TRecordingAsker(int32_t answer) : answer_(answer) {}
  int32_t AskUser(std::string_view url, TFilterCheck& rec) override {
    asked.emplace_back(url);
    records.push_back(&rec);
    rec.Asked = -1;
    rec.ScriptId = 99;
    return answer_;
  }
  std::vector<std::string> asked;
  std::vector<TFilterCheck*> records;

 private:
  int32_t answer_;
};

struct TRules {
  int32_t found = -1;
  std::string ex_url;
  std::vector<std::string> allow, filter;
  bool null_lists = false;
};

// A check record built from host strings and counted lists.
class TCheck {
 public:
  TCheck(const std::string& parent, const TRules& rules)
      : parent_(parent), ex_url_(rules.ex_url), allow_(rules.allow), filter_(rules.filter) {
    rec_.Found = rules.found;
    rec_.Asked = 0;
    rec_.Reserved2 = 0x5A5A;
    rec_.ParentUrl = parent.empty() ? nullptr : parent_.get();
    rec_.ExUrl = rules.ex_url.empty() ? nullptr : ex_url_.get();
    rec_.Allow = rules.null_lists ? nullptr : allow_.get();
    rec_.Filter = rules.null_lists ? nullptr : filter_.get();
    rec_.ScriptId = 7;
  }
  TFilterCheck& rec() { return rec_; }

 private:
  THostString parent_, ex_url_;
  THostList allow_, filter_;
  TFilterCheck rec_{};
};

TEST(IsInFilters, DecidesByRulesThenAsks) {
  const std::string parent = "http://www.site.com/page.html";
  const TRules all_allow{-1, "All Allow", {}, {"*"}};
  const TRules all_filter{-1, "All Filter", {"*"}, {}};
  const TRules lists{
      -1, "Default", {"*.good.com", "both.com"}, {"*.bad.com", "both.com", "site.com/ads*"}};
  const TRules none{0, "All Filter", {}, {"*"}};
  const TRules spelled{-1, " ALL\tallow ", {}, {"*"}};
  const TRules no_ex_url{-1, "", {}, {"*.bad.com"}};
  const TRules found_one{1, "allfilter", {}, {}};
  struct Case {
    const char* label;
    std::string parent, url;
    TRules rules;
    int32_t ask;
    int32_t expected;
    Kind kind;
    bool asked;
  };
  const Case cases[] = {
      {"blank parent", "", "http://x.com/", all_filter, 1, 0, Kind::kNotANavigation, false},
      {"parent about:blank", "About:Blank", "http://x.com/", all_filter, 1, 0,
       Kind::kNotANavigation, false},
      {"parent begins with a space", " http://a.com", "http://x.com/", all_filter, 1, 0,
       Kind::kNotANavigation, false},
      {"empty target", parent, "", all_filter, 1, 0, Kind::kNotANavigation, false},
      {"target about:blank", parent, "ABOUT:BLANK", all_filter, 1, 0, Kind::kNotANavigation, false},
      {"javascript: in capitals", parent, "JavaScript:window.open('http://x.com')", all_filter, 1,
       0, Kind::kNotANavigation, false},
      {"All Allow", parent, "http://x.com/", all_allow, 1, 0, Kind::kAllAllow, false},
      {"all allow, other spelling", parent, "http://x.com/", spelled, 1, 0, Kind::kAllAllow, false},
      {"All Filter, other site", parent, "http://x.com/", all_filter, 1, -1, Kind::kAllFilter,
       false},
      {"All Filter, same site", parent, "http://img.site.com/a.png", all_filter, 1, 0,
       Kind::kSameSiteExUrl, false},
      {"allow pattern", parent, "http://www.good.com/", lists, 1, 0, Kind::kAllowPattern, false},
      {"filter pattern", parent, "http://ads.bad.com/", lists, 1, -1, Kind::kFilterPattern, false},
      {"filter pattern on the same site", parent, "http://site.com/ads/1", lists, 1, -1,
       Kind::kFilterPattern, false},
      {"allow beats filter", parent, "http://both.com/", lists, 1, 0, Kind::kAllowPattern, false},
      {"Default, no pattern, other site: asked", parent, "http://x.com/", lists, 1, -1,
       Kind::kAsked, true},
      {"Default, no pattern, ask 0", parent, "http://x.com/", lists, 0, 0, Kind::kNoRule, false},
      {"Default, no pattern, same site", parent, "http://m.site.com/", lists, 1, 0, Kind::kNoRule,
       false},
      {"empty ExUrl goes to the lists", parent, "http://ads.bad.com/", no_ex_url, 0, -1,
       Kind::kFilterPattern, false},
      {"null lists", parent, "http://x.com/", {-1, "", {}, {}, true}, 0, 0, Kind::kNoRule, false},
      {"Found 0 ignores the rules, ask 0", parent, "http://x.com/", none, 0, 0, Kind::kNoRule,
       false},
      {"Found 0, same site", parent, "http://other.site.com/", none, 1, 0, Kind::kNoRule, false},
      {"Found 0, other site: asked", parent, "http://x.com/", none, 1, -1, Kind::kAsked, true},
      {"Found non-zero other than -1", parent, "http://x.com/", found_one, 0, -1, Kind::kAllFilter,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TCheck check(c.parent, c.rules);
    TRecordingAsker asker(-1);
    TFilterReason reason;
    EXPECT_EQ(kovra::IsInFilters(c.url, check.rec(), c.ask, asker, &reason), c.expected);
    EXPECT_EQ(reason.kind, c.kind);
    if (c.asked) {
      EXPECT_EQ(asker.asked, std::vector<std::string>{c.url});
      ASSERT_EQ(asker.records.size(), 1u);
      EXPECT_EQ(asker.records[0], &check.rec());
    } else {
      EXPECT_TRUE(asker.asked.empty());
      EXPECT_EQ(check.rec().Asked, 0);
      EXPECT_EQ(check.rec().ScriptId, 7u);
    }
  }
}

TEST(IsInFilters, TheAskStepAnswers) {
  for (const int32_t answer : {0, -1}) {
    SCOPED_TRACE(answer);
    TCheck check("http://a.com/", TRules{0, "", {}, {}});
    TRecordingAsker asker(answer);
    EXPECT_EQ(kovra::IsInFilters("http://b.com/", check.rec(), 5, asker), answer);
    EXPECT_EQ(check.rec().Asked, -1);
    EXPECT_EQ(check.rec().ScriptId, 99u);
  }
  // Without a dialog the ask step filters.
  TCheck check("http://a.com/", TRules{0, "", {}, {}});
  kovra::TNoAskUser no_dialog;
  EXPECT_EQ(kovra::IsInFilters("http://b.com/", check.rec(), 1, no_dialog), -1);
  EXPECT_EQ(check.rec().Asked, -1);
}

// ---- GetFiltersFromParentUrl ----------------------------------------------------

// A prompt that records notices.
class TRecordingPrompt final : public kovra::TPrompt {
 public:
  int32_t AskYesNoCancel(std::u16string_view, std::u16string_view) override { return kNotShown; }
  void ShowNotice(std::u16string_view caption, std::u16string_view message) override {
    notices.push_back(kovra::ToNarrow(caption) + "|" + kovra::ToNarrow(message));
  }
  std::vector<std::string> notices;
};

char kUntouched[] = "untouched";

// A record whose every field shows whether the engine wrote it; the strings
// the engine writes are released with it.
class TParentRecord {
 public:
  explicit TParentRecord(const std::string& parent) : parent_(parent) {
    std::memset(&rec_, 0x5A, sizeof rec_);
    rec_.ParentUrl = parent.empty() ? nullptr : parent_.get();
    rec_.ExUrl = kUntouched;
    for (char*& s : rec_.Allow) s = kUntouched;
    for (char*& s : rec_.Filter) s = kUntouched;
    std::memcpy(&before_, &rec_, sizeof rec_);
  }
  ~TParentRecord() {
    Release(rec_.ExUrl);
    for (char* s : rec_.Allow) Release(s);
    for (char* s : rec_.Filter) Release(s);
  }
  TParentRecord(const TParentRecord&) = delete;
  TParentRecord& operator=(const TParentRecord&) = delete;

  TParentFilters& rec() { return rec_; }
  bool Untouched() const { return std::memcmp(&before_, &rec_, sizeof rec_) == 0; }
  // The entries written, up to the first untouched one.
  static std::vector<std::string> Written(char* const* list) {
    std::vector<std::string> out;
    for (int i = 0; i < 255 && list[i] != kUntouched; ++i) out.push_back(HostText(list[i]));
    return out;
  }

 private:
  static void Release(char* s) {
    if (s != kUntouched) KovraFreeHostString(s);
  }
  THostString parent_;
  TParentFilters rec_;
  TParentFilters before_;
};

class ParentFiltersTest : public testing::Test {
 protected:
  uint32_t Add(const std::vector<std::string>& url_match, const std::vector<std::string>& nav,
               const std::string& script = "[Script]\r\n\r\n  [Header Message]\r\n") {
    const uint32_t id = lib_.AddEntry();
    TScripts e;
    e.UrlMatch = url_match;
    e.Navigate2Set = nav;
    e.Script = script;
    lib_.UpdateEntry(id, e);
    return id;
  }
  void Fill(TParentRecord& record) { kovra::GetFiltersFromParentUrl(lib_, prompt_, record.rec()); }

  TTempDir dir_;
  TScriptLibrary lib_{dir_.path()};
  TRecordingPrompt prompt_;
};

TEST_F(ParentFiltersTest, CopiesTheRulesOfTheFirstCoveringScript) {
  Add({"[Exact Match]   other.com"}, {"[Allow]   never.com"});
  const uint32_t id =
      Add({"[Exact Match]   nothing.org", "[Match it]            *.shop.com/*"},
          {"[ExUrl]   All Filter", "[Allow]   pay .com\t", "[Filter]    ads.*.com",
           "[allow]   wrong.case", "[Exact Match]   not.a.rule",
           std::string("[Filter]    tr\0ack.net", 22), "no bracket", "[Allow]   after.com"});
  Add({"[Match it]            www.shop.com"}, {"[Allow]   second.com"});

  TParentRecord record("http://www.shop.com/cart");
  Fill(record);
  const TParentFilters& r = record.rec();
  EXPECT_EQ(r.Found, -1);
  EXPECT_EQ(r.ScriptId, id);
  EXPECT_EQ(HostText(r.ExUrl), "allfilter");
  EXPECT_EQ(TParentRecord::Written(r.Allow), std::vector<std::string>{"pay.com"});
  EXPECT_EQ(TParentRecord::Written(r.Filter), (std::vector<std::string>{"ads.*.com", "track.net"}));
  EXPECT_EQ(r.Reserved1, 0x5A5A5A5A);
  EXPECT_EQ(r.HasRawScript, 0x5A5A5A5A);  // header form
  EXPECT_TRUE(prompt_.notices.empty());
}

TEST_F(ParentFiltersTest, LaterExUrlReplacesTheEarlier) {
  // The host receives only the last value; the replaced one must not be lost
  // memory (the sanitizer build checks).
  Add({"[Match it]            shop.com"},
      {"[ExUrl]   Default", "[ExUrl]   All Allow", "[ExUrl]   All  Filter"});
  TParentRecord record("http://shop.com/");
  Fill(record);
  EXPECT_EQ(HostText(record.rec().ExUrl), "allfilter");
}

TEST_F(ParentFiltersTest, FillsAtMost254EntriesPerList) {
  std::vector<std::string> nav;
  for (int i = 1; i <= 300; ++i) {
    nav.push_back("[Allow]   a" + std::to_string(i) + ".com");
    nav.push_back("[Filter]    f" + std::to_string(i) + ".com");
  }
  Add({"[Match it]            big.com"}, nav);
  TParentRecord record("http://big.com/");
  Fill(record);
  const std::vector<std::string> allow = TParentRecord::Written(record.rec().Allow);
  const std::vector<std::string> filter = TParentRecord::Written(record.rec().Filter);
  ASSERT_EQ(allow.size(), 254u);
  ASSERT_EQ(filter.size(), 254u);
  EXPECT_EQ(allow.front(), "a1.com");
  EXPECT_EQ(allow.back(), "a254.com");
  EXPECT_EQ(filter.back(), "f254.com");
  EXPECT_EQ(record.rec().Allow[254], kUntouched);
  EXPECT_EQ(record.rec().Filter[254], kUntouched);
}

TEST_F(ParentFiltersTest, LeavesTheRecordWhenNothingCovers) {
  Add({"[Match it]            shop.com"}, {"[ExUrl]   All Filter"});
  for (const std::string parent :
       {"http://other.com/", "", "about:blank", "javascript:void(0)", " http://shop.com/"}) {
    SCOPED_TRACE(parent);
    TParentRecord record(parent);
    Fill(record);
    EXPECT_TRUE(record.Untouched());
  }
  // A covering script without rules still marks the record.
  TParentRecord record("http://shop.com/");
  lib_.UpdateEntry(
      1, TScripts{0, "", {"[Match it]            shop.com"}, {}, "[Script]\r\nresult := 1;"});
  Fill(record);
  EXPECT_EQ(record.rec().Found, -1);
  EXPECT_EQ(record.rec().ScriptId, 1u);
  EXPECT_EQ(record.rec().ExUrl, kUntouched);
  EXPECT_EQ(record.rec().HasRawScript, -1);
}

TEST(HasRawScriptText, LooksRightAfterTheScriptMarker) {
  struct Case {
    std::string text;
    bool raw;
  };
  const Case cases[] = {
      {"[Script]\r\n\r\n  [Header Message]\r\n", false},
      {"[Script]\r\nresult := url;\r\n[/Script]\r\n", true},
      {" \t\r\n[ S c r i p t ]\r\n x\r\n", true},
      {"[SCRIPT]xy", true},
      {"[Script]x", false},  // the last character is never looked at
      {"[Script]\r\n", false},
      {"[Script]", false},
      {"", false},
      {"x[Script]\r\nabc", false},
      {"[Name]\r\n[Script]\r\nabc", false},
      {"[Script\r\nabc", false},
      {"[Scr]ipt]\r\nabc", false},
      {"\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\nabc\r\n",
       true},  // as a saved file's script section begins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(kovra::HasRawScriptText(c.text), c.raw);
  }
}

// ---- The black list -------------------------------------------------------------

TEST(BlackList, LoadsTheFileAndMatchesPatterns) {
  TTempDir dir;
  WriteBytes(dir / "Scripts" / "BlackList.ini",
             "ads.com\r\n\r\n*.track.org\nhttp://pop.net/x\r\nlast.io");
  const TScriptLibrary lib(dir.path());
  EXPECT_EQ(lib.BlackList(), (std::vector<std::string>{"ads.com", "", "*.track.org",
                                                       "http://pop.net/x", "last.io"}));
  struct Case {
    std::string url;
    bool listed;
  };
  const Case cases[] = {
      {"http://www.ADS.com/banner", true}, {"http://track.org/", true},
      {"http://a.b.track.org/p", true},    {"http://pop.net/x/1", true},
      {"http://pop.net/y", false},         {"http://last.io", true},
      {"http://ads.com:8080/", false},  // a port is part of the host
      {"http://example.com/", false},      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(lib.IsInBlackList(c.url), c.listed);
  }

  // An empty list, and a list of one empty line, match nothing.
  TTempDir empty_dir;
  EXPECT_FALSE(TScriptLibrary(empty_dir.path()).IsInBlackList("http://ads.com/"));
  WriteBytes(empty_dir / "Scripts" / "BlackList.ini", "\r\n");
  const TScriptLibrary blank(empty_dir.path());
  EXPECT_EQ(blank.BlackList(), std::vector<std::string>{""});
  EXPECT_FALSE(blank.IsInBlackList("http://ads.com/"));
}

TEST(BlackList, AddAppendsTheHostToMemoryAndFile) {
  TTempDir dir;
  TScriptLibrary lib(dir.path());  // no Scripts folder yet
  std::string error = "untouched";
  EXPECT_TRUE(lib.AddToBlackList("http://Pop.Example.com:8080/x?y", &error));
  EXPECT_EQ(error, "untouched");
  EXPECT_TRUE(lib.AddToBlackList("http://Pop.Example.com/other", nullptr));  // no duplicate check
  EXPECT_TRUE(lib.AddToBlackList("www.plain.net\\path", nullptr));
  EXPECT_EQ(lib.BlackList(),
            (std::vector<std::string>{"Pop.Example.com", "Pop.Example.com", "www.plain.net"}));
  EXPECT_EQ(ReadBytes(dir / "Scripts" / "BlackList.ini"),
            "Pop.Example.com\r\nPop.Example.com\r\nwww.plain.net\r\n");
  EXPECT_TRUE(lib.IsInBlackList("http://pop.example.com/any"));
  EXPECT_FALSE(lib.IsInBlackList("http://example.com/"));

  // The next load sees them.
  EXPECT_EQ(TScriptLibrary(dir.path()).BlackList(), lib.BlackList());
}

TEST(BlackList, AddKeepsHandWrittenLastLine) {
  // A hand-written file whose last line has no line end: the new host must
  // not run into that line.
  TTempDir dir;
  WriteBytes(dir / "Scripts" / "BlackList.ini", "ads.com\r\ntrack.org");
  TScriptLibrary lib(dir.path());
  EXPECT_TRUE(lib.AddToBlackList("http://pop.net/", nullptr));
  EXPECT_EQ(TScriptLibrary(dir.path()).BlackList(),
            (std::vector<std::string>{"ads.com", "track.org", "pop.net"}));
}

TEST(BlackList, AddKeepsTheEntryInMemoryWhenTheFileCannotBeWritten) {
  TTempDir dir;
  WriteBytes(dir / "Scripts", "a file where the folder should be");
  TScriptLibrary lib(dir.path());
  std::string error;
  EXPECT_FALSE(lib.AddToBlackList("http://pop.net/", &error));
  EXPECT_EQ(error,
            "cannot write " + (dir / "Scripts" / "BlackList.ini").string() + ": Not a directory");
  EXPECT_EQ(lib.BlackList(), std::vector<std::string>{"pop.net"});
  EXPECT_TRUE(lib.IsInBlackList("http://pop.net/x"));
}

TEST(BlackList, UnreadableListDoesNotStopTheLoad) {
  TTempDir dir;
  fs::create_directories(dir / "Scripts" / "BlackList.ini");  // a folder where the file should be
  WriteBytes(dir / "Scripts" / "a.ks", "[Name]\r\nalpha\r\n");
  std::unique_ptr<TScriptLibrary> lib;
  ASSERT_NO_THROW(lib = std::make_unique<TScriptLibrary>(dir.path()));
  EXPECT_TRUE(lib->BlackList().empty());
  ASSERT_EQ(lib->Count(), 1);
  EXPECT_EQ(lib->Entry(1)->Name, "alpha");
}

// ---- SafeDeDomain -----------------------------------------------------------------

TEST(SafeDeDomain, MainDomainOrError) {
  struct Case {
    std::string url, domain;
  };
  const Case cases[] = {
      {"", "error"},
      {"   ", "error"},
      {"http://www.example.com/x", "example.com"},
      {" HTTP://WWW.EXAMPLE.COM/ ", "example.com"},
      {"http://news.shop.com.cn:8080/", "shop.com.cn"},
      {"http://localhost/", "localhost"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_STREQ(kovra::SafeDeDomain(c.url), c.domain.c_str());
  }
  // Equal domains share one text; the text stays valid.
  const char* a = kovra::SafeDeDomain("http://a.example.org/1");
  const char* b = kovra::SafeDeDomain("http://b.example.org/2");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, kovra::SafeDeDomain("http://example.net/"));
  EXPECT_STREQ(a, "example.org");
}

}  // namespace
