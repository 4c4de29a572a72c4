// The idhttp command: GET and form POST requests from scripts, and reading
// and setting the run's HTTP client settings. The settings live here for the
// whole run; requests go through the HttpClient port, whose client is made
// at the first request.
#pragma once

#include <memory>
#include <string>

#include "interpreter/UnitParsersCmdDictionary.h"
#include "platform/HttpClient.h"

namespace kovra {

class TIdHttp {
 public:
  explicit TIdHttp(THttpClientFactory factory) : factory_(factory) {}

  // Carries out one idhttp call on its argument list (entry 3 receives a
  // body or a setting). False with `error` set when a request failed.
  bool Execute(TArgList& args, std::u16string& error);

  const THttpSettings& Settings() const { return settings_; }

 private:
  bool Request(bool post, TArgList& args, std::u16string& error);

  THttpClientFactory factory_;
  std::unique_ptr<THttpClient> client_;
  THttpSettings settings_;
};

}  // namespace kovra
