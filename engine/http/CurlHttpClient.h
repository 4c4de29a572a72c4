// The HttpClient port on libcurl: the client behind idhttp requests in the
// engine and the kovra command. One client keeps one curl handle, so the
// requests of a run share kept-alive connections and, while cookies are
// allowed, one cookie store that dies with the client.
#pragma once

#include <memory>

#include "platform/HttpClient.h"

namespace kovra {

// A new client; fits THttpClientFactory.
std::unique_ptr<THttpClient> MakeCurlHttpClient();

}  // namespace kovra
