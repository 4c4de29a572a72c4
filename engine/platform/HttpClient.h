// The HttpClient port: the transport behind the script command idhttp.
// The interpreter keeps the client settings a script reads and sets; a
// client only carries out requests with them. One client serves one run and
// may keep state between its requests (connections, cookies).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kovra {

// The client settings a script can read and set, with their defaults. Those
// marked "kept only" have no counterpart in the transport: a script reads back
// what it set, and requests do not change.
struct THttpSettings {
  int32_t auth_retries = 3;  // kept only
  bool allow_cookies = true;  // cookies live in one client, for one run
  bool handle_redirects = true;
  int32_t redirect_maximum = 15;  // redirects followed at most; below 0 counts as 0
  std::string custom_headers;  // "Name: value" lines separated by CR LF or LF
  std::string content_type;  // empty: a POST is sent as application/x-www-form-urlencoded
  std::string referer;
  std::string accept = "text/html, */*";  // empty: none sent
  std::string accept_charset;
  std::string accept_encoding;  // also decodes the encodings the transport knows
  std::string accept_language;
  std::string request_host;  // the Host header; empty: the URL's host
  std::string from;
  std::string password;
  std::string user_agent = "Mozilla/5.0 (compatible; KovraEngine/1.0)";  // empty: none sent
  std::string username;  // with password: basic authentication
  std::string proxy_connection;
  std::string pragma;
  bool in_process_auth = false;     // kept only
  bool keep_orig_protocol = true;   // kept only
  bool force_encode_params = true;  // form-encode the POST lines; off: sent as they are
  bool http_1_1 = true;
  std::string host;   // kept only: each request goes where its URL says
  int32_t port = 80;  // kept only
  std::string bound_ip;  // local address to connect from; empty: any
  int32_t bound_port = 0;  // local port; 0: any, or one of bound_port_min..max when both are set
  int32_t bound_port_max = 0;
  int32_t bound_port_min = 0;
  // 0 or less: no limit of the client's own (the transport still gives up
  // connecting after 300 s).
  int32_t connect_timeout_ms = 30000;
  // The whole request (connecting, redirects and the complete response) must
  // end within it; 0 or less: no limit.
  int32_t read_timeout_ms = 120000;
};

struct THttpResult {
  bool ok = false;
  std::u16string body;  // decoded: the declared charset, else the engine code page
  std::string error;    // the reason when !ok ("HTTP 404 Not Found", "timed out (...)")
};

class THttpClient {
 public:
  virtual ~THttpClient() = default;
  virtual THttpResult Get(const std::string& url, const THttpSettings& settings) = 0;
  // Posts the lines ("name=value" each) as a form.
  virtual THttpResult Post(const std::string& url, const std::vector<std::string>& lines,
                           const THttpSettings& settings) = 0;
};

using THttpClientFactory = std::unique_ptr<THttpClient> (*)();

}  // namespace kovra
