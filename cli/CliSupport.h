// Shared pieces of the kovra command: reading input files, the text
// encodings of data and output, and usage errors.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kovra::cli {

// A usage or file problem: reported in one line, exit status 2.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole content of a file, or of standard input for "-".
std::string ReadInput(const std::string& path);

// Script files are in the engine code page unless they are valid UTF-8
// holding non-ASCII text.
std::u16string DecodeScriptFile(std::string_view bytes);

// The encoding of data and output: UTF-8 unless a code page is named.
class TTextEncoding {
 public:
  explicit TTextEncoding(std::string_view name);  // throws TUsageError
  std::u16string Decode(std::string_view bytes) const;
  std::string Encode(std::u16string_view text) const;

 private:
  std::unique_ptr<TCodePage> code_page_;  // null: UTF-8
};

}  // namespace kovra::cli
