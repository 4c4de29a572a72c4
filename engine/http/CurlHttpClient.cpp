#include "http/CurlHttpClient.h"

#include <curl/curl.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/HttpText.h"

namespace kovra {
namespace {

// A response past this size ends the request: a server that never stops
// sending must not exhaust the memory of the process the engine lives in.
constexpr size_t kMaxBody = size_t{256} << 20;
constexpr const char* kFormType = "application/x-www-form-urlencoded";

CURLcode GlobalInit() {
  static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
  return init;
}

// A setting as one header line can carry it: cut at the first line break
// (or NUL), so that no setting adds header lines of its own.
std::string OneLine(std::string_view value) {
  return std::string(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
}

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

struct THeaderField {
  const char* name;
  std::string THttpSettings::*field;
};
constexpr THeaderField kHeaderFields[] = {
    {"Referer", &THttpSettings::referer},
    {"Accept", &THttpSettings::accept},
    {"Accept-Charset", &THttpSettings::accept_charset},
    {"Accept-Language", &THttpSettings::accept_language},
    {"Host", &THttpSettings::request_host},
    {"From", &THttpSettings::from},
    {"Proxy-Connection", &THttpSettings::proxy_connection},
    {"Pragma", &THttpSettings::pragma},
};

// The request headers of one request. Lines of the custom headers come
// last and take the place of a setting's header of the same name.
class THeaderList {
 public:
  THeaderList(const THttpSettings& s, bool post) {
    std::vector<std::string> custom;
    std::vector<std::string> custom_names;
    std::string_view text = s.custom_headers;
    while (!text.empty()) {
      const size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
      const std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      const size_t colon = line.find(':');
      if (colon == std::string_view::npos) continue;
      const std::string_view name = TrimBlanks(line.substr(0, colon));
      if (name.empty() || name.find_first_of(" \t") != std::string_view::npos) continue;
      const std::string_view value = TrimBlanks(line.substr(colon + 1));
      // "Name;" is how curl sends a header with an empty value ("Name:"
      // would remove the header instead).
      std::string header(name);
      header += value.empty() ? ";" : ": ";
      header += value;
      custom.push_back(std::move(header));
      custom_names.push_back(LowerText(name));
    }
    auto overridden = [&](std::string_view name) {
      const std::string lower = LowerText(name);
      for (const std::string& n : custom_names) {
        if (n == lower) return true;
      }
      return false;
    };
    auto add = [&](std::string_view name, std::string_view value) {
      if (overridden(name)) return;
      std::string line(name);
      line += value.empty() ? ";" : ": ";
      line += value;
      Append(line);
    };

    const std::string content_type = OneLine(s.content_type);
    if (!content_type.empty()) {
      add("Content-Type", content_type);
    } else if (post) {
      add("Content-Type", kFormType);
    }
    for (const THeaderField& f : kHeaderFields) {
      const std::string value = OneLine(s.*f.field);
      if (!value.empty()) {
        add(f.name, value);
      } else if (std::string_view(f.name) == "Accept" && !overridden("Accept")) {
        Append("Accept:");  // no Accept header at all, not curl's "*/*"
      }
    }
    // curl would hold a larger POST body back for a "100 Continue" that
    // many servers never send.
    if (post) Append("Expect:");
    for (const std::string& line : custom) Append(line);
  }
  ~THeaderList() { curl_slist_free_all(list_); }
  THeaderList(const THeaderList&) = delete;
  THeaderList& operator=(const THeaderList&) = delete;

  curl_slist* get() const { return list_; }

 private:
  void Append(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(list_, line.c_str())) list_ = grown;
  }

  curl_slist* list_ = nullptr;
};

std::string_view ReasonOf(long status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 410:
      return "Gone";
    case 429:
      return "Too Many Requests";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    default:
      return {};
  }
}

class TCurlHttpClient final : public THttpClient {
 public:
  TCurlHttpClient() {
    if (GlobalInit() == CURLE_OK) handle_ = curl_easy_init();
  }
  ~TCurlHttpClient() override {
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
  }
  TCurlHttpClient(const TCurlHttpClient&) = delete;
  TCurlHttpClient& operator=(const TCurlHttpClient&) = delete;

  THttpResult Get(const std::string& url, const THttpSettings& settings) override {
    return Perform(url, nullptr, settings);
  }

  THttpResult Post(const std::string& url, const std::vector<std::string>& lines,
                   const THttpSettings& settings) override {
    const std::string body = FormBody(lines, settings.force_encode_params);
    return Perform(url, &body, settings);
  }

 private:
  THttpResult Perform(const std::string& url, const std::string* post_body, const THttpSettings& s);
  void ApplySettings(const THttpSettings& s);
  void HoldOrRestoreCookies(bool allow);
  std::string FailureText(CURLcode code) const;

  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);

  CURL* handle_ = nullptr;
  bool cookie_engine_ = false;
  // Cookies kept aside while a script has cookies switched off, in curl's
  // cookie file format; they come back when cookies are allowed again.
  std::vector<std::string> held_cookies_;
  TBodyDecoder decoder_;

  // State of the request in progress.
  std::string body_;
  std::string status_line_;
  bool too_large_ = false;
  char error_buffer_[CURL_ERROR_SIZE] = {};
};

size_t TCurlHttpClient::OnBody(char* data, size_t size, size_t count, void* self) {
  auto* client = static_cast<TCurlHttpClient*>(self);
  const size_t n = size * count;
  if (n > kMaxBody - client->body_.size()) {
    client->too_large_ = true;
    return 0;  // ends the transfer with a write error
  }
  if (client->body_.empty()) {
    curl_off_t length = -1;
    curl_easy_getinfo(client->handle_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length > 0 && static_cast<uint64_t>(length) <= kMaxBody) {
      client->body_.reserve(static_cast<size_t>(length));
    }
  }
  client->body_.append(data, n);
  return n;
}

size_t TCurlHttpClient::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto* client = static_cast<TCurlHttpClient*>(self);
  const size_t n = size * count;
  std::string_view line(data, n);
  if (line.starts_with("HTTP/")) {
    // A new response begins (after a redirect or a "100 Continue"): only
    // the last one's body is the answer.
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    client->status_line_.assign(line);
    client->body_.clear();
  }
  return n;
}

void TCurlHttpClient::HoldOrRestoreCookies(bool allow) {
  if (allow) {
    if (!cookie_engine_) {
      curl_easy_setopt(handle_, CURLOPT_COOKIEFILE, "");  // in memory only
      cookie_engine_ = true;
    }
    for (const std::string& line : held_cookies_) {
      curl_easy_setopt(handle_, CURLOPT_COOKIELIST, line.c_str());
    }
    held_cookies_.clear();
    return;
  }
  if (!cookie_engine_) return;
  curl_slist* list = nullptr;
  if (curl_easy_getinfo(handle_, CURLINFO_COOKIELIST, &list) == CURLE_OK) {
    for (curl_slist* item = list; item != nullptr; item = item->next) {
      held_cookies_.emplace_back(item->data);
    }
    curl_slist_free_all(list);
  }
  curl_easy_setopt(handle_, CURLOPT_COOKIELIST, "ALL");
}

void TCurlHttpClient::ApplySettings(const THttpSettings& s) {
  CURL* const h = handle_;
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // The client has no proxy setting: it connects directly, whatever the
  // environment of the host process says.
  curl_easy_setopt(h, CURLOPT_PROXY, "");

  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, s.handle_redirects ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS,
                   static_cast<long>(s.redirect_maximum < 0 ? 0 : s.redirect_maximum));
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION,
                   static_cast<long>(s.http_1_1 ? CURL_HTTP_VERSION_1_1 : CURL_HTTP_VERSION_1_0));

  const std::string user_agent = OneLine(s.user_agent);
  curl_easy_setopt(h, CURLOPT_USERAGENT, user_agent.empty() ? nullptr : user_agent.c_str());
  const std::string encoding = OneLine(s.accept_encoding);
  // Sends the header and decodes whatever of it curl can decode.
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, encoding.empty() ? nullptr : encoding.c_str());

  const std::string username = OneLine(s.username);
  const std::string password = OneLine(s.password);
  const bool credentials = !username.empty() || !password.empty();
  curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
  curl_easy_setopt(h, CURLOPT_USERNAME, credentials ? username.c_str() : nullptr);
  curl_easy_setopt(h, CURLOPT_PASSWORD, credentials ? password.c_str() : nullptr);

  const std::string bound_ip = OneLine(s.bound_ip);
  const std::string interface = "host!" + bound_ip;
  curl_easy_setopt(h, CURLOPT_INTERFACE, bound_ip.empty() ? nullptr : interface.c_str());
  auto valid_port = [](int32_t port) { return port > 0 && port <= 65535; };
  long local_port = 0;
  long port_range = 1;
  if (valid_port(s.bound_port)) {
    local_port = s.bound_port;
  } else if (valid_port(s.bound_port_min) && valid_port(s.bound_port_max) &&
             s.bound_port_max >= s.bound_port_min) {
    local_port = s.bound_port_min;
    port_range = s.bound_port_max - s.bound_port_min + 1;
  }
  curl_easy_setopt(h, CURLOPT_LOCALPORT, local_port);
  curl_easy_setopt(h, CURLOPT_LOCALPORTRANGE, port_range);

  // 0 or less: no limit of this client's own.
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(s.connect_timeout_ms > 0 ? s.connect_timeout_ms : 0));
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS,
                   static_cast<long>(s.read_timeout_ms > 0 ? s.read_timeout_ms : 0));
}

std::string TCurlHttpClient::FailureText(CURLcode code) const {
  if (too_large_) return "the response is larger than " + std::to_string(kMaxBody >> 20) + " MB";
  std::string kind;
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      kind = "unknown host";
      break;
    case CURLE_COULDNT_CONNECT: {
      long os_error = 0;
      curl_easy_getinfo(handle_, CURLINFO_OS_ERRNO, &os_error);
      kind = os_error == ECONNREFUSED ? "connection refused" : "could not connect";
      break;
    }
    case CURLE_OPERATION_TIMEDOUT:
      kind = "timed out";
      break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      kind = "TLS error";
      break;
    case CURLE_TOO_MANY_REDIRECTS:
      kind = "too many redirects";
      break;
    case CURLE_UNSUPPORTED_PROTOCOL:
      kind = "not an http or https URL";
      break;
    case CURLE_URL_MALFORMAT:
      kind = "malformed URL";
      break;
    default:
      kind = "request failed";
      break;
  }
  const char* detail = error_buffer_[0] != '\0' ? error_buffer_ : curl_easy_strerror(code);
  return kind + " (" + detail + ")";
}

THttpResult TCurlHttpClient::Perform(const std::string& url, const std::string* post_body,
                                     const THttpSettings& s) {
  THttpResult result;
  if (handle_ == nullptr) {
    result.error = "the HTTP library could not be started";
    return result;
  }
  body_.clear();
  status_line_.clear();
  too_large_ = false;
  error_buffer_[0] = '\0';

  HoldOrRestoreCookies(s.allow_cookies);
  ApplySettings(s);
  const THeaderList headers(s, post_body != nullptr);
  const std::string request_url = RequestUrl(url);
  CURL* const h = handle_;
  curl_easy_setopt(h, CURLOPT_URL, request_url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error_buffer_);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &TCurlHttpClient::OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &TCurlHttpClient::OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
  if (post_body != nullptr) {
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post_body->size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, post_body->data());
  } else {
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }

  const CURLcode code = curl_easy_perform(h);

  // Nothing of this request may outlive it in the handle.
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, nullptr);
  if (post_body != nullptr) curl_easy_setopt(h, CURLOPT_POSTFIELDS, nullptr);
  if (!s.allow_cookies && cookie_engine_) curl_easy_setopt(h, CURLOPT_COOKIELIST, "ALL");

  if (code != CURLE_OK) {
    result.error = FailureText(code);
    body_.clear();
    return result;
  }
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 400) {
    // "HTTP/1.1 404 Not Found" → "HTTP 404 Not Found"
    std::string_view reason;
    const size_t sp1 = status_line_.find(' ');
    const size_t sp2 = sp1 == std::string::npos ? sp1 : status_line_.find(' ', sp1 + 1);
    if (sp2 != std::string::npos)
      reason = TrimBlanks(std::string_view(status_line_).substr(sp2 + 1));
    if (reason.empty()) reason = ReasonOf(status);
    result.error = "HTTP " + std::to_string(status);
    if (!reason.empty()) {
      result.error += ' ';
      result.error.append(reason.substr(0, 100));
    }
    body_.clear();
    return result;
  }
  const char* content_type = nullptr;
  curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &content_type);
  result.body = decoder_.Decode(body_, content_type != nullptr ? content_type : "");
  result.ok = true;
  body_.clear();
  body_.shrink_to_fit();
  return result;
}

}  // namespace

std::unique_ptr<THttpClient> MakeCurlHttpClient() {
  return std::make_unique<TCurlHttpClient>();
}

}  // namespace kovra
