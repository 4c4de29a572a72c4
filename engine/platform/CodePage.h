// The engine's 8-bit code page: conversion between wide text (UTF-16 code
// units) and the 8-bit form in which files, export arguments and stored
// scripts are kept.
//
// Code page 936 is built in (tables generated from cp936.txt); the variable
// KOVRA_CODEPAGE may name another code page ("1252", "cp1252", "GBK", ...),
// whose tables are then built through iconv once, at first use.
//
// Decoding never fails: a byte that does not start a character of the code
// page (a lone lead byte, a lead byte before an invalid trail byte, an unused
// single byte) decodes to the code unit U+DC00 + byte, and such a unit encodes
// back to exactly that byte, so arbitrary bytes survive a round trip.
// Characters the code page cannot hold encode to '?'.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kovra {

class TCodePage {
 public:
  virtual ~TCodePage() = default;

  // The code page the engine works in: KOVRA_CODEPAGE when it names a code
  // page that can be loaded, else code page 936. Built once, then read-only.
  static const TCodePage& Engine();

  // Code page 936 from the built-in tables.
  static const TCodePage& Cp936();

  // Loads a code page by number or iconv name; null with a reason in *error
  // when it is unknown or not an 8-bit/double-byte code page.
  static std::unique_ptr<TCodePage> Load(std::string_view name, std::string* error);

  virtual std::string_view Name() const = 0;

  // Appends the decoded / encoded form of the input to out.
  virtual void DecodeAppend(std::string_view bytes, std::u16string& out) const = 0;
  virtual void EncodeAppend(std::u16string_view text, std::string& out) const = 0;

  std::u16string Decode(std::string_view bytes) const {
    std::u16string out;
    DecodeAppend(bytes, out);
    return out;
  }
  std::string Encode(std::u16string_view text) const {
    std::string out;
    EncodeAppend(text, out);
    return out;
  }
};

// Why the code page named by KOVRA_CODEPAGE is not in use (it could not be
// loaded, so code page 936 is used instead); empty when the variable is unset
// or empty or its code page loaded.
std::string EngineCodePageProblem();

// Convenience wrappers over TCodePage::Engine().
std::u16string ToWide(std::string_view bytes);
std::string ToNarrow(std::u16string_view text);

// UTF-8, for the command line and today's pages. Invalid bytes decode to
// U+DC00 + byte and encode back unchanged (as in the code pages); other lone
// surrogates encode to U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);
std::string EncodeUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view bytes);

}  // namespace kovra
