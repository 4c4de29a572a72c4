#include "CliSupport.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

namespace kovra::cli {
namespace {

bool HasNonAscii(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return true;
  }
  return false;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

}  // namespace

std::string ReadInput(const std::string& path) {
  if (path == "-") {
    std::ostringstream buffer;
    buffer << std::cin.rdbuf();
    return std::move(buffer).str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TUsageError("cannot read " + path + ": " + std::strerror(errno));
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw TUsageError("cannot read " + path + ": " + std::strerror(errno));
  return std::move(buffer).str();
}

std::u16string DecodeScriptFile(std::string_view bytes) {
  if (HasNonAscii(bytes) && IsValidUtf8(bytes)) return DecodeUtf8(bytes);
  return ToWide(bytes);
}

TTextEncoding::TTextEncoding(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "utf-8" || lower == "utf8") return;
  std::string error;
  code_page_ = TCodePage::Load(name, &error);
  if (!code_page_) throw TUsageError("unknown encoding " + std::string(name) + ": " + error);
}

std::u16string TTextEncoding::Decode(std::string_view bytes) const {
  return code_page_ ? code_page_->Decode(bytes) : DecodeUtf8(bytes);
}

std::string TTextEncoding::Encode(std::u16string_view text) const {
  return code_page_ ? code_page_->Encode(text) : EncodeUtf8(text);
}

}  // namespace kovra::cli
