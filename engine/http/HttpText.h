// The text side of HTTP for the curl client: the form body of a POST, the
// request URL as sent, and the decoding of a response body by its declared
// character set.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

class TCodePage;

// The lines ("name=value" each) joined by "&". With `encode`, the name and
// the value of each line are form-encoded byte by byte (the bytes are the
// engine code page's, sent as they are): letters, digits and "*-._" stay,
// a space becomes "+", every other byte %XX. Without it the lines go as is.
std::string FormBody(const std::vector<std::string>& lines, bool encode);

// The URL with the bytes a request line cannot carry (controls, space, DEL
// and every byte from 0x80) percent-encoded; the rest is left alone.
std::string RequestUrl(std::string_view url);

// The charset parameter of a Content-Type value, lower-cased; empty when
// there is none or it is not a plausible name.
std::string CharsetOfContentType(std::string_view content_type);

// The charset an HTML page declares in a <meta> tag within its first 1024
// bytes ("<meta charset=...>" or a content="...; charset=..." attribute),
// lower-cased; empty when there is none.
std::string CharsetOfMeta(std::string_view body);

// Decodes response bodies; keeps the code pages it loaded.
class TBodyDecoder {
 public:
  TBodyDecoder();
  ~TBodyDecoder();
  TBodyDecoder(const TBodyDecoder&) = delete;
  TBodyDecoder& operator=(const TBodyDecoder&) = delete;

  // A UTF-8 byte order mark wins; then the charset of the Content-Type,
  // then (for HTML or an unnamed type) one declared in a <meta> tag; a body
  // that declares none, or one that cannot be loaded, is in the engine code
  // page.
  std::u16string Decode(std::string_view body, std::string_view content_type);

 private:
  // Null when the charset cannot be loaded.
  const TCodePage* CodePageFor(const std::string& charset);

  std::map<std::string, std::unique_ptr<TCodePage>> loaded_;
};

}  // namespace kovra
