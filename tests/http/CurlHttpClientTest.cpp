// The curl client against a real server on 127.0.0.1: requests and bodies as
// they travel, every setting as the server receives it, each kind of failure,
// charset decoding, and whole script runs through idhttp.
#include "http/CurlHttpClient.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "http/TestHttpServer.h"
#include "interpreter/ScriptParsers.h"
#include "interpreter/UnitParsersProcess.h"
#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

using test::TTestHttpServer;
using test::TTestRequest;
using test::TTestResponse;

constexpr char kGbkChinese[] = "\xd6\xd0\xce\xc4";  // 中文 in code page 936
constexpr char kGzipHello[] =
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xcb\x48\xcd\xc9\xc9\x57\x48\xaf\xca\x2c\x00\x00\x19"
    "\x6a\xd2\xdf\x0a\x00\x00\x00";  // "hello gzip"

TTestResponse Text(std::string body, std::string content_type = "text/plain") {
  TTestResponse r;
  r.body = std::move(body);
  if (!content_type.empty()) r.headers.push_back("Content-Type: " + content_type);
  return r;
}

// The routes every test server serves.
TTestResponse Route(const TTestRequest& q) {
  const std::string& t = q.target;
  if (t == "/hello") return Text("hello");
  if (t.starts_with("/redirect/")) {
    const int n = std::stoi(t.substr(10));
    if (n == 0) return Text("landed");
    TTestResponse r = Text("moved");
    r.status = 302;
    r.reason = "Found";
    r.headers.push_back("Location: /redirect/" + std::to_string(n - 1));
    return r;
  }
  if (t.starts_with("/setcookie/")) {
    TTestResponse r = Text("set");
    r.headers.push_back("Set-Cookie: " + t.substr(11) + "; Path=/");
    return r;
  }
  if (t == "/status/404") {
    TTestResponse r = Text("missing");
    r.status = 404;
    r.reason = "Not Found";
    return r;
  }
  if (t == "/status/500") {
    TTestResponse r = Text("broken");
    r.status = 500;
    r.reason = "Internal Server Error";
    return r;
  }
  if (t == "/hang") {
    TTestResponse r;
    r.hang = true;
    return r;
  }
  if (t == "/gzip") {
    TTestResponse r = Text(std::string(kGzipHello, sizeof kGzipHello - 1));
    r.headers.push_back("Content-Encoding: gzip");
    return r;
  }
  if (t == "/gbk") return Text(kGbkChinese, "text/html; charset=GBK");
  if (t == "/utf8") return Text("\xe4\xb8\xad\xe6\x96\x87", "text/html; charset=utf-8");
  if (q.method == "POST") return Text("posted:" + q.body);
  return Text("path " + t);
}

class CurlClient : public ::testing::Test {
 protected:
  TTestHttpServer server_{Route};
  std::unique_ptr<THttpClient> client_ = MakeCurlHttpClient();
  THttpSettings settings_;

  THttpResult Get(const std::string& path) { return client_->Get(server_.Url(path), settings_); }
  TTestRequest LastRequest() const {
    const std::vector<TTestRequest> all = server_.Requests();
    return all.empty() ? TTestRequest{} : all.back();
  }
};

TEST_F(CurlClient, GetsOverOneKeptAliveConnectionWithTheDefaultHeaders) {
  for (int i = 0; i < 3; ++i) {
    const THttpResult r = Get("/hello");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, u"hello");
  }
  EXPECT_EQ(server_.Connections(), 1);
  const TTestRequest q = LastRequest();
  EXPECT_EQ(q.method + " " + q.target + " " + q.version, "GET /hello HTTP/1.1");
  EXPECT_EQ(q.Header("User-Agent"), THttpSettings{}.user_agent);
  EXPECT_EQ(q.Header("Accept"), "text/html, */*");
  EXPECT_EQ(q.HeaderCount("Cookie") + q.HeaderCount("Authorization") + q.HeaderCount("Referer"), 0);
}

TEST_F(CurlClient, PostSendsTheLinesAsAForm) {
  const std::string gbk_value = std::string("q=") + "\xd6\xd0" + " " + "\xce\xc4";
  const struct {
    std::vector<std::string> lines;
    bool encode;
    std::string content_type;
    std::string body;
    std::string received_type;
  } cases[] = {
      {{"a=1", "b=2"}, true, "", "a=1&b=2", "application/x-www-form-urlencoded"},
      {{gbk_value, "x=a&b=c", "plain"},
       true,
       "",
       "q=%D6%D0+%CE%C4&x=a%26b%3Dc&plain",
       "application/x-www-form-urlencoded"},
      {{gbk_value, "x=a&b"}, false, "", gbk_value + "&x=a&b", "application/x-www-form-urlencoded"},
      {{}, true, "", "", "application/x-www-form-urlencoded"},
      {{"{\"k\":1}"}, false, "application/json", "{\"k\":1}", "application/json"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    settings_.force_encode_params = c.encode;
    settings_.content_type = c.content_type;
    const THttpResult r = client_->Post(server_.Url("/form"), c.lines, settings_);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, ToWide("posted:" + c.body));
    const TTestRequest q = LastRequest();
    EXPECT_EQ(q.method, "POST");
    EXPECT_EQ(q.body, c.body);
    EXPECT_EQ(q.Header("Content-Type"), c.received_type);
  }
  // A GET after a POST is a GET again, on the same connection.
  EXPECT_EQ(Get("/hello").body, u"hello");
  EXPECT_EQ(LastRequest().method, "GET");
  EXPECT_EQ(server_.Connections(), 1);
}

TEST_F(CurlClient, LargePostBodyIsSentAtOnce) {
  // No "Expect: 100-continue" wait: the server here never sends a 100.
  const std::vector<std::string> lines(20, "field=" + std::string(60000, 'v'));
  const THttpResult r = client_->Post(server_.Url("/form"), lines, settings_);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(LastRequest().body.size(), 20u * 60006 + 19);
  EXPECT_EQ(LastRequest().HeaderCount("Expect"), 0);
}

TEST_F(CurlClient, RedirectsFollowTheSettings) {
  const struct {
    bool follow;
    int32_t maximum;
    bool ok;
    std::u16string body;
    std::string error;
  } cases[] = {
      {true, 15, true, u"landed", ""},
      {true, 3, true, u"landed", ""},
      {true, 2, false, u"", "too many redirects (Maximum (2) redirects followed)"},
      {true, -1, false, u"", "too many redirects (Maximum (0) redirects followed)"},
      {false, 15, true, u"moved", ""},  // the redirect itself is the answer
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.follow << " " << c.maximum);
    settings_.handle_redirects = c.follow;
    settings_.redirect_maximum = c.maximum;
    const THttpResult r = Get("/redirect/3");
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.body, c.body);
    EXPECT_EQ(r.error, c.error);
  }
}

TEST_F(CurlClient, CookiesLiveInOneClientAndCanBeSwitchedOff) {
  ASSERT_TRUE(Get("/setcookie/k=v").ok);
  Get("/hello");
  EXPECT_EQ(LastRequest().Header("Cookie"), "k=v");

  std::unique_ptr<THttpClient> other = MakeCurlHttpClient();
  other->Get(server_.Url("/hello"), settings_);
  EXPECT_EQ(LastRequest().HeaderCount("Cookie"), 0);

  // Switched off: none sent, none taken; the earlier ones come back.
  settings_.allow_cookies = false;
  Get("/hello");
  EXPECT_EQ(LastRequest().HeaderCount("Cookie"), 0);
  Get("/setcookie/k2=v2");
  settings_.allow_cookies = true;
  Get("/hello");
  EXPECT_EQ(LastRequest().Header("Cookie"), "k=v");

  // A client that never allowed cookies keeps none.
  settings_.allow_cookies = false;
  std::unique_ptr<THttpClient> plain = MakeCurlHttpClient();
  plain->Get(server_.Url("/setcookie/p=1"), settings_);
  plain->Get(server_.Url("/hello"), settings_);
  EXPECT_EQ(LastRequest().HeaderCount("Cookie"), 0);
}

TEST_F(CurlClient, HeadersReachTheServerAsSet) {
  settings_.custom_headers =
      "X-One: 1\r\nX-Two:  two words \n\r\nno colon line\r\nReferer: from-custom\r\nX-Empty:";
  settings_.referer = "from-setting";
  settings_.accept = "";
  settings_.accept_charset = "gbk";
  settings_.accept_language = "zh-CN";
  settings_.request_host = "example.test";
  settings_.from = "bot@example.test";
  settings_.proxy_connection = "keep-alive";
  settings_.pragma = "no-cache";
  settings_.content_type = "text/x-kovra";
  settings_.user_agent = "Bot/1\r\nX-Injected: 1";
  settings_.username = "user";
  settings_.password = "pass";
  ASSERT_TRUE(Get("/hello").ok);
  const TTestRequest q = LastRequest();
  const struct {
    const char* name;
    const char* value;
  } expected[] = {
      {"X-One", "1"},
      {"X-Two", "two words"},
      {"X-Empty", ""},
      {"Referer", "from-custom"},
      {"Accept-Charset", "gbk"},
      {"Accept-Language", "zh-CN"},
      {"Host", "example.test"},
      {"From", "bot@example.test"},
      {"Proxy-Connection", "keep-alive"},
      {"Pragma", "no-cache"},
      {"Content-Type", "text/x-kovra"},
      {"User-Agent", "Bot/1"},
      {"Authorization", "Basic dXNlcjpwYXNz"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(q.HeaderCount(e.name), 1);
    EXPECT_EQ(q.Header(e.name), e.value);
  }
  EXPECT_EQ(q.HeaderCount("Accept"), 0);
  EXPECT_EQ(q.HeaderCount("X-Injected"), 0);
  EXPECT_EQ(q.HeaderCount("Accept-Encoding"), 0);

  // An empty user agent sends none.
  settings_ = THttpSettings{};
  settings_.user_agent = "";
  Get("/hello");
  EXPECT_EQ(LastRequest().HeaderCount("User-Agent"), 0);
}

TEST_F(CurlClient, AcceptEncodingIsSentAndDecoded) {
  settings_.accept_encoding = "gzip";
  const THttpResult r = Get("/gzip");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.body, u"hello gzip");
  EXPECT_EQ(LastRequest().Header("Accept-Encoding"), "gzip");
}

TEST_F(CurlClient, ProtocolVersionOnTheWire) {
  settings_.http_1_1 = false;
  ASSERT_TRUE(Get("/hello").ok);
  EXPECT_EQ(LastRequest().version, "HTTP/1.0");
  settings_.http_1_1 = true;
  ASSERT_TRUE(Get("/hello").ok);
  EXPECT_EQ(LastRequest().version, "HTTP/1.1");
}

TEST_F(CurlClient, BindsTheLocalAddressAndPortRange) {
  const int base = 40000 + static_cast<int>(getpid() % 2000) * 10;
  settings_.bound_ip = "127.0.0.1";
  settings_.bound_port_min = base;
  settings_.bound_port_max = base + 9;
  const THttpResult r = Get("/hello");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_GE(LastRequest().client_port, base);
  EXPECT_LE(LastRequest().client_port, base + 9);
}

TEST_F(CurlClient, FailuresSayWhy) {
  const std::string https_here = "https://127.0.0.1:" + std::to_string(server_.Port()) + "/";
  const struct {
    std::string url;
    std::string error_start;
  } cases[] = {
      {"http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/", "connection refused ("},
      {"http://kovra-test.invalid/", "unknown host (Could not resolve host: kovra-test.invalid)"},
      {server_.Url("/hang"), "timed out (Operation timed out after "},
      {server_.Url("/status/404"), "HTTP 404 Not Found"},
      {server_.Url("/status/500"), "HTTP 500 Internal Server Error"},
      {https_here, "TLS error ("},
      {"ftp://127.0.0.1/", "not an http or https URL ("},
  };
  settings_.read_timeout_ms = 300;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const THttpResult r = client_->Get(c.url, settings_);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.body.empty());
    EXPECT_TRUE(r.error.starts_with(c.error_start)) << r.error;
  }
  // The client is still good after its failures.
  EXPECT_EQ(Get("/hello").body, u"hello");
}

TEST_F(CurlClient, BodiesAreDecodedByTheirCharset) {
  const std::string utf8 = "\xe4\xb8\xad\xe6\x96\x87";  // 中文
  const std::string gbk = kGbkChinese;
  const struct {
    std::string content_type;
    std::string body;
    std::u16string expected;
  } cases[] = {
      {"text/html; charset=utf-8", utf8, u"中文"},
      {"text/html;charset=\"UTF-8\"", utf8, u"中文"},
      {"text/html; charset=gbk", gbk, u"中文"},
      {"text/html; charset=GB2312", gbk, u"中文"},
      {"text/plain; charset=windows-1252", "caf\xe9", u"café"},
      {"text/plain; charset=iso-8859-1", "\x93q\x94", u"\u201cq\u201d"},
      {"text/html", gbk, ToWide(gbk)},
      {"", gbk, ToWide(gbk)},
      {"text/html; charset=no-such-charset", gbk, ToWide(gbk)},
      {"text/html", "<html><head><meta charset=\"utf-8\">" + utf8,
       u"<html><head><meta charset=\"utf-8\">中文"},
      {"text/html", "<META http-equiv=Content-Type content='text/html; charset=gb2312'>" + gbk,
       u"<META http-equiv=Content-Type content='text/html; charset=gb2312'>中文"},
      {"text/plain", "<meta charset=utf-8>" + utf8, ToWide("<meta charset=utf-8>" + utf8)},
      {"text/html; charset=gbk", "\xef\xbb\xbf" + utf8, u"中文"},  // a BOM wins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content_type + " | " + c.body);
    TTestHttpServer server([&](const TTestRequest&) { return Text(c.body, c.content_type); });
    const THttpResult r = client_->Get(server.Url("/"), settings_);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.body, c.expected);
  }
}

TEST_F(CurlClient, UrlBytesOutsideAsciiArePercentEncoded) {
  ASSERT_TRUE(client_->Get(server_.Url("/s?q=") + kGbkChinese + " x", settings_).ok);
  EXPECT_EQ(LastRequest().target, "/s?q=%D6%D0%CE%C4%20x");
}

// Whole script runs with the curl client behind idhttp.
class CurlScript : public CurlClient {
 protected:
  TRunEnvironment Env() const {
    TRunEnvironment env;
    env.http_factory = MakeCurlHttpClient;
    return env;
  }
  std::u16string Url(const std::string& path) const { return ToWide(server_.Url(path)); }
};

TEST_F(CurlScript, GetAndPostFillTheVariable) {
  const struct {
    std::u16string script;
    std::u16string expected;
  } cases[] = {
      {u"[script]idHttp('Get', '" + Url("/gbk") + u"', result);[/script]", u"中文"},
      {u"var u:string; endvar [script]u := '" + Url("/utf8") +
           u"';idHttp( 'Get' , u , result );[/script]",
       u"中文"},
      {u"[script]idHttp( 'Post' , '" + Url("/form") + u"' , result , 'a=1' + 'b=中 文' );[/script]",
       u"posted:a=1&b=%D6%D0+%CE%C4"},
      {u"[script]idHttp('set', 'httpoptions', ''); idHttp( 'Post' , '" + Url("/form") +
           u"' , result , 'a=1' + 'b=x y' );[/script]",
       u"posted:a=1&b=x y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(EncodeUtf8(c.script));
    const TRunOutcome out = RunScriptText(c.script, u"input", Env());
    EXPECT_FALSE(out.failed) << EncodeUtf8(out.text);
    EXPECT_EQ(out.text, c.expected);
  }
}

TEST_F(CurlScript, SettingsPersistAcrossTheRunsRequests) {
  const TRunOutcome out = RunScriptText(
      u"var s:string; endvar [script]idHttp('set', 'request.useragent', 'Script/1');"
      u"idHttp('set', 'protocolversion', 'pv1_0');"
      u"idHttp('Get', '" +
          Url("/setcookie/c=1") +
          u"', s);"
          u"idHttp('Get', '" +
          Url("/hello") + u"', result);[/script]",
      u"", Env());
  EXPECT_EQ(out.text, u"hello");
  const TTestRequest q = LastRequest();
  EXPECT_EQ(q.Header("User-Agent"), "Script/1");
  EXPECT_EQ(q.version, "HTTP/1.0");
  EXPECT_EQ(q.Header("Cookie"), "c=1");
}

TEST_F(CurlScript, AFailedRequestEndsTheRunNamingTheUrl) {
  const std::u16string bad = Url("/status/404");
  const std::u16string body = u"s := 'kept';\r\nidHttp('Get', '" + Url("/hello") +
                              u"', result);\r\nidHttp('Get', '" + bad +
                              u"', result);\r\ns := 'changed';";
  const std::u16string names[] = {u"s"};
  TParsers parsers({}, names, u"", Env());
  const std::u16string text = parsers.Run(body);
  EXPECT_EQ(text, u"idHttp 请求失败：" + bad + u"：HTTP 404 Not Found\r\n语句开始位置：" +
                      IntToText(static_cast<int32_t>(body.find(u"idHttp('Get', '" + bad)) + 1));
  EXPECT_EQ(parsers.StrValue(parsers.FindStrVar(u"s")), u"kept");
  EXPECT_EQ(parsers.StrValue(parsers.FindStrVar(u"result")), u"hello");
}

}  // namespace
}  // namespace kovra
