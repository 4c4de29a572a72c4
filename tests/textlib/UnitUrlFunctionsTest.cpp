#include "textlib/UnitUrlFunctions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/CodePage.h"

namespace kovra {
namespace {

using namespace std::literals;

TEST(UrlTest, HostStart) {
  struct Case {
    std::string_view address;
    int32_t expected;
  } cases[] = {
      {"http://ab", 8},  {"http://a", 1},    {"localhost:8080/x", 1}, {"x/http://ab", 1},
      {"http:/x/ab", 1}, {":////", 4},       {"a:b://cd", 1},         {"", 1},
      {"ftp://h/", 7},   {"\\\\h:\\\\x", 1}, {"h\0://ab"sv, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.address));
    EXPECT_EQ(HostStart(c.address), c.expected);
  }
}

TEST(UrlTest, CutPortFirstLabelHostOf) {
  struct CutCase {
    std::string_view text, cut, label;
  } cut_cases[] = {
      {"example.com:8080", "example.com", "example"},
      {"example.com", "example.com", "example"},
      {"localhost", "localhost", "localhost"},
      {"[::1]:80", "[::1]", "[::1]:80"},
      {":80", "", ":80"},
      {".x", ".x", ""},
      {"", "", ""},
  };
  for (const CutCase& c : cut_cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(CutPort(c.text), c.cut);
    EXPECT_EQ(FirstLabel(c.text), c.label);
  }
  struct HostCase {
    std::string_view address, host;
  } host_cases[] = {
      {"http://www.Example.com:81/x", "www.Example.com"},
      {"http://www.example.com", "www.example.com"},
      {"www.example.com/x", "www.example.com"},
      {"HTTPS://Host\\path", "Host"},
      {"localhost:8080/x", "localhost"},
      {"http://a", "http"},  // too short for a scheme: read from the start
      {"/abc", "/abc"},      // the host's first character is never taken for a slash
      {"http:///x/y", "/x"},
      {"", ""},
  };
  for (const HostCase& c : host_cases) {
    SCOPED_TRACE(std::string(c.address));
    EXPECT_EQ(HostOf(c.address), c.host);
  }
}

TEST(UrlTest, MainDomain) {
  struct Case {
    std::string_view address, domain;
  } cases[] = {
      {"http://www.example.com/x", "example.com"},
      {"http://news.shop.com.test:8080/", "shop.com.test"},
      {"shop.com.test", "shop.com.test"},
      {"http://localhost/", "localhost"},
      {"http://192.168.1.10/", "1.10"},
      {"https://www.example.com/", "https"},
      {" HTTP://WWW.EXAMPLE.COM/ ", "example.com"},
      {"ht\ttp://www.\r\nexa mple.com\0/"sv, "example.com"},
      {"http://www.example.com.cn/", "example.com.cn"},
      {"http://x.edu.cn", "x.edu.cn"},
      {"http://a.b.gov", "b.gov"},
      {"www.example.com\\x", "example.com"},
      {"http://", ""},
      {"http:///x", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.address));
    EXPECT_EQ(MainDomain(c.address), c.domain);
  }
  EXPECT_TRUE(SameMainDomain("http://a.example.com/x", "example.com"));
  EXPECT_TRUE(SameMainDomain("HTTP://WWW.EXAMPLE.COM", "example.com:80"));
  EXPECT_FALSE(SameMainDomain("http://example.com", "example.net"));
  EXPECT_TRUE(SameMainDomain("", " "));
}

TEST(UrlTest, MainDomainKeepsDoubleByteCharacters) {
  // 0x81 0x41 is one character of code page 936 whose trail byte is 'A'.
  if (TCodePage::Engine().Decode("\x81\x41").size() != 1) {
    GTEST_SKIP() << "the engine code page has no double-byte characters";
  }
  EXPECT_EQ(MainDomain("HTTP://WWW.\x81\x41\x81\x42.COM/"), "\x81\x41\x81\x42.com");
  // A byte that is a character of its own does not protect the next one.
  EXPECT_EQ(MainDomain("\x80"
                       "A.COM"),
            "\x80"
            "a.com");
  EXPECT_EQ(MainDomain("\xFF"
                       "A.COM"),
            "\xFF"
            "a.com");
  EXPECT_EQ(MainDomain("X.\x81"), "x.\x81");
}

TEST(UrlTest, IsBlankPageUrl) {
  struct Case {
    std::string_view address;
    bool expected;
  } cases[] = {
      {"", true},
      {"about:blank", true},
      {"About:Blank", true},
      {"about:blank more", true},
      {"javascript:void(0)", true},
      {"JavaScript:", true},
      {"about:blank#x", false},
      {" x", true},
      {"javascript", false},
      {"http://example.com", false},
      {"about:blan", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.address));
    EXPECT_EQ(IsBlankPageUrl(c.address), c.expected);
  }
}

TEST(UrlTest, MatchUrlPattern) {
  struct Case {
    std::string_view pattern, address;
    bool expected;
  } cases[] = {
      {"www.example.com", "http://WWW.EXAMPLE.COM/", true},
      {"WWW.EXAMPLE.COM/NEWS", "http://www.example.com/news", true},
      {"example.com/news", "http://example.com/news/1.html", true},
      {"example.com/news", "http://example.com/", false},
      {"example.com/*.html", "http://example.com/a.html", true},
      {"example.com/*.html", "http://example.com/a.b.html", false},
      {"www.*.com", "http://www.example.com", true},
      {"www.*.com", "http://www.a.example.com", false},
      {"http://example.com", "ftp://example.com", true},
      {"https://example.com/", "http://example.com/x", true},
      // Only the end of the address's host has to match.
      {"example.test", "http://www.example.test/a", true},
      {"example.test", "http://myexample.test/", true},
      {"aexample.com", "http://example.com", false},
      {"aexample.com", "example.com", false},
      {"*.example.com", "example.com", true},
      {"*.example.com", "http://a.b.example.com/x", true},
      {"*.example.com", "http://badexample.com/", true},
      {"*.example.com", "http://example.org/", false},
      // A '*' in the host stops at a '.' unless the character next to it is one.
      {"w*.example.com", "http://wab.example.com", true},
      {"w*.example.com", "http://wa.b.example.com", false},
      {"w**.example.com", "http://wxy.example.com", true},
      {"x*.example.com", "http://ab.example.com", false},
      {"*example.com", "example.com", false},
      {"*", "http://anything/at/all", true},
      {"*", "x", true},
      // A port is a part of the address's host.
      {"example.com", "http://example.com:8080/", false},
      {"example.com:8080", "http://example.com:8080/", true},
      // Paths: a prefix, "/" and "/*" match everything, a trailing '*' needs
      // one more character.
      {"example.com/", "http://example.com", true},
      {"example.com/*", "http://example.com", true},
      {"example.com/**", "http://example.com", true},
      {"example.com/news*", "http://example.com/news", false},
      {"example.com/news*", "http://example.com/news1", true},
      {"example.com/news/*", "http://example.com/news", true},
      {"example.com/a*z", "http://example.com/abc", false},
      {"example.com/a*c", "http://example.com/abc", true},
      {"example.com/*x", "http://example.com/a.x", false},
      {"example.com/*.x", "http://example.com/a.x", true},
      {"example.com/a**b", "http://example.com/axb", true},
      {"example.com\\a", "http://example.com/a", false},
      {"example.com\\a", "http://example.com\\a", true},
      {"example.com/a", "http://example.com\\a", false},
      {"", "http://example.com/", false},
      {"example.com", "", false},
      {"", "", false},
      {"a\0b"sv, "http://a\0b/"sv, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + std::string(c.address));
    EXPECT_EQ(MatchUrlPattern(c.pattern, c.address), c.expected);
  }
}

TEST(UrlTest, CopyToBuffer) {
  struct Case {
    std::string_view text, copied;
  } cases[] = {
      {"abc", "abc"},
      {"a\0bc"sv, "a"},
      {"\0abc"sv, ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(CopyToBuffer(buffer, c.text), buffer);
    EXPECT_EQ(std::string_view(buffer, c.copied.size()), c.copied);
    EXPECT_EQ(buffer[c.copied.size()], '\0');
    EXPECT_EQ(buffer[c.copied.size() + 1], '#');
  }
}

}  // namespace
}  // namespace kovra
