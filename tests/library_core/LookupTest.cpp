// Which script serves a page, which script bears a name, which entry covers a
// page: against hand-picked cases and against a plain scan of the library.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "library/UnitTScriptLibrary.h"
#include "library/ksEditor.h"
#include "platform/CodePage.h"
#include "textlib/UnitUrlFunctions.h"

namespace {

using kovra::TScriptLibrary;
using kovra::TScriptRunInfo;
using kovra::TScripts;
using kovra_test::TTempDir;

// A script file that is only a script section with a header.
std::string HeaderFile(const std::string& name, const std::string& match_url,
                       const std::string& body = "") {
  kovra::TScriptHeader h;
  h.Name = kovra::ToWide(name);
  h.MatchUrl = kovra::ToWide(match_url);
  h.ScriptContent = kovra::ToWide(body);
  return kovra::ToNarrow(kovra::ComposeScriptText(h));
}

struct TNamedScript {
  std::string name, match_url;
};

// A library without a Scripts folder, filled from texts.
class LookupTest : public testing::Test {
 protected:
  TScriptLibrary& Library(const std::vector<TNamedScript>& scripts) {
    for (const TNamedScript& s : scripts) lib_.ImportScriptText(HeaderFile(s.name, s.match_url));
    return lib_;
  }

  TTempDir dir_;
  TScriptLibrary lib_{dir_.path()};
};

TEST_F(LookupTest, AutoScriptNameLongestMatchingPatternWins) {
  TScriptLibrary& lib = Library({
      {"news", "'*.site123.com/news/*'"},
      {"site", "'site123.com'"},
      {"shop", "'shop.site45.net/item*.html'"},
      {"org", "'www.*.org'"},
      {"either", "'a.example.com'+'b.example.com/deep/path'"},
      {"short", "'b.example.com/deep'"},
      {"port", "'ports.com:8080'"},
      {"same1", "'tie.com/ab'"},
      {"same2", "'tie.com/ab'+'tie.com/a*'"},
      {"nobody", "''"},
  });
  struct Case {
    std::string url, name;
  };
  const Case cases[] = {
      {"http://www.site123.com/news/today.html", "news"},
      {"http://site123.com/news/", "news"},
      {"http://site123.com/news", "news"},   // "/*" after news also takes no path at all
      {"http://site123.com/newsx", "news"},  // nor is the slash before a final "*" compared
      {"http://site123.com/new", "site"},
      {"http://xsite123.com/news/1", "news"},  // the pattern host only has to end the address host
      {"http://www.site123.com/sport/", "site"},
      {"HTTP://WWW.SITE123.COM/NEWS/X", "news"},
      {"http://shop.site45.net/item12.html", "shop"},
      {"http://shop.site45.net/item.html", "shop"},
      {"http://shop.site45.net/item1.2.html", ""},
      {"http://shop.site45.net/item12.htm", ""},
      {"http://www.abc.org/", "org"},
      {"http://www.a.b.org/", ""},
      {"http://a.example.com/x", "either"},
      {"http://b.example.com/deep/path/1", "either"},  // its second pattern is the longest
      {"http://b.example.com/deep/other", "short"},
      {"http://ports.com:8080/x", "port"},
      {"http://ports.com/x", ""},
      {"ftp://ports.com:8080", "port"},
      {"http://tie.com/ab", "same1"},  // equal length: the earlier entry
      {"http://tie.com/ac", "same2"},
      {"http://unknown.com/", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(lib.GetAutoScriptName(c.url), c.name);
  }
}

TEST_F(LookupTest, AutoScriptNameForEmptyAddress) {
  // An empty address, also as a view without storage (the null host string),
  // matches nothing.
  TScriptLibrary& lib = Library({{"a", "'a.com'"}, {"all", "'*'"}});
  EXPECT_EQ(lib.GetAutoScriptName(std::string_view()), "");
  EXPECT_EQ(lib.FirstEntryCovering(std::string_view()), nullptr);
}

TEST_F(LookupTest, ScriptsWithoutHeaderServeNowPage) {
  lib_.ImportScriptText("[Script]\r\nno header here\r\n[/Script]\r\n");
  lib_.ImportScriptText(HeaderFile("named", "'nowpage/x'"));
  EXPECT_EQ(lib_.GetAutoScriptName("http://NowPage/"), "de_nowage");
  EXPECT_EQ(lib_.GetAutoScriptName("http://www.nowpage/x/y"), "named");
  EXPECT_EQ(lib_.GetAutoScriptName("http://example.com/"), "");
}

TEST_F(LookupTest, EditsCountAtTheNextCall) {
  TScriptLibrary& lib = Library({{"old", "'a.com'"}});
  EXPECT_EQ(lib.GetAutoScriptName("http://a.com/x"), "old");

  TScripts fields = *lib.Entry(1);
  fields.Script = HeaderFile("renamed", "'b.com'");
  lib.UpdateEntry(1, fields);
  EXPECT_EQ(lib.GetAutoScriptName("http://a.com/x"), "");
  EXPECT_EQ(lib.GetAutoScriptName("http://b.com/x"), "renamed");

  const uint32_t id = lib.AddEntry();
  EXPECT_EQ(lib.GetAutoScriptName("http://b.com/x"),
            "renamed");  // an empty entry serves NowPage only
  EXPECT_EQ(lib.GetAutoScriptName("http://nowpage/"), "de_nowage");
  fields.Script = HeaderFile("longer", "'b.com/x'");
  fields.UrlMatch = {"[Match it]            b.com"};
  lib.UpdateEntry(id, fields);
  EXPECT_EQ(lib.GetAutoScriptName("http://b.com/x"), "longer");
  EXPECT_EQ(lib.FirstEntryCovering("http://b.com/"), lib.Entry(id));

  lib.ImportScriptText(HeaderFile("longest", "'b.com/x/'"));
  EXPECT_EQ(lib.GetAutoScriptName("http://b.com/x/1"), "longest");
}

TEST_F(LookupTest, ScriptByName) {
  lib_.ImportScriptText("[Script]\r\nraw\r\n[/Script]");
  lib_.ImportScriptText(HeaderFile("shop", "'a.com'", "result := 1;"));
  lib_.ImportScriptText(HeaderFile("shop", "'b.com'", "result := 2;"));
  lib_.ImportScriptText(
      "[Script]\r\n[Header Message]Need Result = False; Result to New Page = True;[/Header Message]"
      "[Define Variant]t:string;[/Define Variant][Script Content]result := t;[/Script "
      "Content][/Script]");

  struct Case {
    std::string name;
    bool found;
    std::string declarations, body;
    bool need_result, new_page;
  };
  const Case cases[] = {
      {"shop", true, "\r\n\r\n\r\n  ", "\r\n\r\n    result := 1;\r\n\r\n  ", true, false},
      {"Shop", false, "", "", false, false},  // header names are held in lower case
      // The first entry without a header name answers to the default.
      {"de_nowage", true, "", "", true, false},
      {"", false, "", "", false, false},
      {"nobody", false, "", "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScriptRunInfo out{u"stale", u"stale", true, true};
    EXPECT_EQ(lib_.GetScriptByName(c.name, out), c.found);
    EXPECT_EQ(kovra::ToNarrow(out.declarations), c.declarations);
    EXPECT_EQ(kovra::ToNarrow(out.body), c.body);
    EXPECT_EQ(out.need_result, c.need_result);
    EXPECT_EQ(out.result_to_new_page, c.new_page);
  }

  // Without the raw script before it, the header-less fourth entry answers.
  TScriptLibrary second(dir_.path());
  second.ImportScriptText(HeaderFile("shop", "'a.com'"));
  second.ImportScriptText(
      "[Script]\r\n[Header Message]Need Result = False; Result to New Page = True;[/Header Message]"
      "[Define Variant]t:string;[/Define Variant][Script Content]result := t;[/Script "
      "Content][/Script]");
  TScriptRunInfo out;
  ASSERT_TRUE(second.GetScriptByName("de_nowage", out));
  EXPECT_EQ(kovra::ToNarrow(out.declarations), "t:string;");
  EXPECT_EQ(kovra::ToNarrow(out.body), "result := t;");
  EXPECT_FALSE(out.need_result);
  EXPECT_TRUE(out.result_to_new_page);
}

TEST_F(LookupTest, FirstEntryCoveringFollowsLibraryAndListOrder) {
  const std::vector<std::vector<std::string>> lists = {
      {"[Exact Match]   other.com", "[Match it]            *.shop.com/*"},
      {"[Match it]            www.shop.com"},
      // The kind is not looked at, and an entry without "]" is taken whole.
      {"[Whatever]      WWW.Mixed.ORG", "   bare.net"},
      {"[Exact Match]   "},
  };
  for (const auto& list : lists) {
    TScripts e;
    e.UrlMatch = list;
    lib_.UpdateEntry(lib_.AddEntry(), e);
  }
  struct Case {
    std::string url;
    uint32_t id;
  };
  const Case cases[] = {
      {"http://www.shop.com/a", 1},
      {"http://shop.com/", 1},
      {"http://other.com", 1},
      {"http://www.mixed.org/x", 3},
      {"http://bare.net/", 3},
      {"http://none.com/", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const TScripts* e = lib_.FirstEntryCovering(c.url);
    EXPECT_EQ(e == nullptr ? 0u : e->ID, c.id);
  }
}

// ---- The lookups against a plain scan ---------------------------------------

// The header names and match patterns of every entry, read once.
struct TPlainHeaders {
  explicit TPlainHeaders(const TScriptLibrary& lib) {
    for (uint32_t id = 1; id <= static_cast<uint32_t>(lib.Count()); ++id) {
      const kovra::TScriptHeader h = kovra::ParseScriptText(kovra::ToWide(lib.Entry(id)->Script));
      names.push_back(kovra::ToNarrow(h.Name));
      patterns.emplace_back();
      for (std::u16string_view part : kovra::MatchPatterns(h.MatchUrl)) {
        patterns.back().push_back(kovra::ToNarrow(part));
      }
    }
  }
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> patterns;
};

std::string BruteAutoScriptName(const TPlainHeaders& headers, std::string_view url) {
  std::string result, best;
  for (size_t i = 0; i < headers.names.size(); ++i) {
    for (const std::string& pattern : headers.patterns[i]) {
      if (kovra::MatchUrlPattern(pattern, url) && pattern.size() > best.size()) {
        result = headers.names[i];
        best = pattern;
      }
    }
  }
  return result;
}

uint32_t BruteFirstCovering(const TScriptLibrary& lib, std::string_view url) {
  for (uint32_t id = 1; id <= static_cast<uint32_t>(lib.Count()); ++id) {
    for (const std::string& entry : lib.Entry(id)->UrlMatch) {
      if (kovra::MatchUrlPattern(kovra::EntryValue(entry), url)) return id;
    }
  }
  return 0;
}

class TGenerator {
 public:
  explicit TGenerator(uint32_t seed) : rng_(seed) {}

  std::string Pick(const std::vector<std::string>& options) {
    return options[rng_() % options.size()];
  }
  bool Chance(uint32_t percent) { return rng_() % 100 < percent; }

  std::string Host(bool pattern) {
    static const std::vector<std::string> labels = {"a",   "b",    "ab", "x1",
                                                    "www", "shop", "Ab", "WWW"};
    static const std::vector<std::string> tlds = {"com", "org", "net", "COM", "com.cn"};
    std::string host;
    const int count = static_cast<int>(rng_() % 3);
    for (int i = 0; i < count; ++i)
      host += (pattern && Chance(15) ? std::string("*") : Pick(labels)) + ".";
    // Addresses on a domain no pattern names keep some pages unserved.
    host += pattern && Chance(10)      ? std::string("*")
            : (!pattern && Chance(30)) ? "zz.io"
                                       : Pick(tlds);
    if (pattern && Chance(10)) host.insert(rng_() % (host.size() + 1), "*");
    if (pattern && Chance(15)) host = "*." + host;
    if (pattern && Chance(5)) host = "**" + host;
    if (Chance(10)) host += Pick({":8080", ":81"});
    return host;
  }

  std::string Path(bool pattern) {
    static const std::vector<std::string> parts = {
        "/", "/news", "/news/", "/item1.html", "/a.b.html", "\\x", "/NEWS/today", "/item"};
    std::string path;
    const int count = static_cast<int>(rng_() % 3);
    for (int i = 0; i < count; ++i) path += Pick(parts);
    if (pattern && Chance(30)) path += Pick({"*", "/*", "*.html", "**"});
    return path;
  }

  std::string Address() {
    const std::string scheme = Pick({"http://", "https://", "", "ftp://", "HTTP://"});
    if (Chance(3)) return Pick({"", "/", "://", "http://a", "*"});
    return scheme + Host(false) + Path(false);
  }

  // Patterns that match (nearly) every address are left to the test, which
  // places them where they cannot hide the others.
  std::string Pattern() {
    if (Chance(3)) return Pick({"", "/", "x1*", "http://", "a.*"});
    const std::string scheme = Chance(15) ? Pick({"http://", "ftp://"}) : "";
    return scheme + Host(true) + Path(true);
  }

 private:
  std::mt19937 rng_;
};

TEST_F(LookupTest, LookupsAgreeWithAPlainScan) {
  TGenerator gen(1234567);
  for (int i = 0; i < 150; ++i) {
    // Header patterns, quoted or bare, one to three per script; the header
    // lower-cases them and drops their blanks.
    std::string match_url;
    const int parts = 1 + i % 3;
    for (int k = 0; k < parts; ++k) {
      if (k > 0) match_url += "+";
      const std::string p = gen.Pattern();
      match_url += gen.Chance(70) ? "'" + p + "'" : p;
    }
    const uint32_t id = lib_.AddEntry();
    TScripts e;
    e.Script = HeaderFile("s" + std::to_string(id), match_url);
    // URL-match entries keep their case.
    const int entries = static_cast<int>(i % 4);
    for (int k = 0; k < entries; ++k)
      e.UrlMatch.push_back("[Match it]            " + gen.Pattern());
    lib_.UpdateEntry(id, e);
  }
  // Catch-alls: the shortest header pattern and the last URL-match entry.
  TScripts last;
  last.Script = HeaderFile("fallback", "'*'+'**'+'*/*'");
  last.UrlMatch = {"[Match it]            *"};
  lib_.UpdateEntry(lib_.AddEntry(), last);

  const TPlainHeaders headers(lib_);
  int named = 0, covered = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string url = gen.Address();
    SCOPED_TRACE(url);
    const std::string expected_name = BruteAutoScriptName(headers, url);
    EXPECT_EQ(lib_.GetAutoScriptName(url), expected_name);
    const uint32_t expected_id = BruteFirstCovering(lib_, url);
    const TScripts* e = lib_.FirstEntryCovering(url);
    EXPECT_EQ(e == nullptr ? 0u : e->ID, expected_id);
    named += !expected_name.empty() && expected_name != "fallback";
    covered += expected_id != 0 && expected_id != static_cast<uint32_t>(lib_.Count());
    if (HasFailure()) break;
  }
  // The generated cases exercise both the specific scripts and the catch-alls.
  EXPECT_GT(named, 400);
  EXPECT_GT(covered, 400);
  EXPECT_GT(4000 - named, 100);
  EXPECT_GT(4000 - covered, 100);
}

}  // namespace
