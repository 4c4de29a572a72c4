#include "http/HttpText.h"

#include "platform/CodePage.h"

namespace kovra {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr size_t kMetaWindow = 1024;
constexpr size_t kMaxCharsetName = 40;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.' || c == ':';
}

// The charset name at the start of `s` (up to the first byte that cannot be
// part of one), lower-cased; empty when it is not a plausible name.
std::string NameAt(std::string_view s) {
  size_t n = 0;
  while (n < s.size() && IsNameChar(s[n])) ++n;
  if (n == 0 || n > kMaxCharsetName) return {};
  return LowerText(s.substr(0, n));
}

void AppendFormEncoded(std::string_view part, std::string& out) {
  for (const char ch : part) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' ||
        c == '-' || c == '.' || c == '_') {
      out += ch;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

}  // namespace

std::string FormBody(const std::vector<std::string>& lines, bool encode) {
  std::string body;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) body += '&';
    const std::string_view line = lines[i];
    if (!encode) {
      body += line;
      continue;
    }
    const size_t eq = line.find('=');
    AppendFormEncoded(line.substr(0, eq), body);
    if (eq != std::string_view::npos) {
      body += '=';
      AppendFormEncoded(line.substr(eq + 1), body);
    }
  }
  return body;
}

std::string RequestUrl(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  for (const char ch : url) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string CharsetOfContentType(std::string_view content_type) {
  size_t start = content_type.find(';');
  while (start != std::string_view::npos) {
    const size_t end = content_type.find(';', start + 1);
    const std::string_view param = content_type.substr(
        start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
    const size_t eq = param.find('=');
    if (eq != std::string_view::npos && LowerText(Trim(param.substr(0, eq))) == "charset") {
      std::string_view value = Trim(param.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      const std::string name = NameAt(value);
      return name.size() == value.size() ? name : std::string();
    }
    start = end;
  }
  return {};
}

std::string CharsetOfMeta(std::string_view body) {
  const std::string head = LowerText(body.substr(0, kMetaWindow));
  for (size_t tag = head.find("<meta"); tag != std::string::npos;
       tag = head.find("<meta", tag + 5)) {
    const size_t close = head.find('>', tag);
    const std::string_view inside = std::string_view(head).substr(
        tag, close == std::string::npos ? std::string::npos : close - tag);
    const size_t at = inside.find("charset");
    if (at == std::string_view::npos) continue;
    std::string_view rest = inside.substr(at + 7);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    if (rest.empty() || rest.front() != '=') continue;
    rest.remove_prefix(1);
    while (!rest.empty() &&
           (IsBlank(rest.front()) || rest.front() == '"' || rest.front() == '\'')) {
      rest.remove_prefix(1);
    }
    std::string name = NameAt(rest);
    if (!name.empty()) return name;
  }
  return {};
}

TBodyDecoder::TBodyDecoder() = default;
TBodyDecoder::~TBodyDecoder() = default;

std::u16string TBodyDecoder::Decode(std::string_view body, std::string_view content_type) {
  if (body.starts_with("\xEF\xBB\xBF")) return DecodeUtf8(body.substr(3));
  std::string charset = CharsetOfContentType(content_type);
  if (charset.empty()) {
    const std::string type = LowerText(content_type);
    if (Trim(type).empty() || type.find("html") != std::string::npos) charset = CharsetOfMeta(body);
  }
  if (charset.empty()) return ToWide(body);
  if (IsOneOf(charset, {"utf-8", "utf8", "unicode-1-1-utf-8"})) return DecodeUtf8(body);
  // GB18030's four-byte sequences are rare in pages; its one- and two-byte
  // part is code page 936.
  if (IsOneOf(charset, {"gbk", "gb2312", "gb18030", "x-gbk", "cp936", "ms936", "windows-936",
                        "csgb2312", "euc-cn", "chinese"})) {
    return TCodePage::Cp936().Decode(body);
  }
  const TCodePage* page = CodePageFor(charset);
  return page != nullptr ? page->Decode(body) : ToWide(body);
}

const TCodePage* TBodyDecoder::CodePageFor(const std::string& charset) {
  auto found = loaded_.find(charset);
  if (found == loaded_.end()) {
    // Pages labelled Latin-1 or ASCII are in practice windows-1252, which is
    // what browsers read them as.
    const bool latin1 = IsOneOf(charset, {"iso-8859-1", "iso8859-1", "latin1", "l1", "us-ascii",
                                          "ascii", "cp819", "ibm819", "iso_8859-1"});
    found = loaded_.emplace(charset, TCodePage::Load(latin1 ? "CP1252" : charset, nullptr)).first;
  }
  return found->second.get();
}

}  // namespace kovra
