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

// The client settings a script can read and set, with their defaults.
struct THttpSettings {
  int32_t auth_retries = 3;
  bool allow_cookies = true;
  bool handle_redirects = true;
  int32_t redirect_maximum = 15;
  std::string custom_headers;  // "Name: value" lines separated by CR LF
  std::string content_type;
  std::string referer;
  std::string accept = "text/html, */*";
  std::string accept_charset;
  std::string accept_encoding;
  std::string accept_language;
  std::string request_host;
  std::string from;
  std::string password;
  std::string user_agent = "Mozilla/5.0 (compatible; KovraEngine/1.0)";
  std::string username;
  std::string proxy_connection;
  std::string pragma;
  bool in_process_auth = false;
  bool keep_orig_protocol = true;
  bool force_encode_params = true;
  bool http_1_1 = true;
  std::string host;
  int32_t port = 80;
  std::string bound_ip;
  int32_t bound_port = 0;
  int32_t bound_port_max = 0;
  int32_t bound_port_min = 0;
  int32_t connect_timeout_ms = 30000;
  int32_t read_timeout_ms = 120000;
};

struct THttpResult {
  bool ok = false;
  std::u16string body;  // decoded: the declared charset, else the engine code page
  std::string error;    // the reason when !ok, in the engine's words
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
