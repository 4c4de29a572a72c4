// The table-driven codec behind every 8-bit code page (the built-in 936 and
// those loaded through iconv): single bytes and lead + trail byte pairs
// decode through lookup tables, units encode through one 65536-entry table
// derived from them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace kovra::detail {

// In the decoding tables: the byte or pair is not a character.
inline constexpr char16_t kNoChar = 0xFFFF;

// A unit that more than one byte sequence decodes to, with the sequence it
// encodes to when that is not the first one in byte order.
struct TPreferredSequence {
  char16_t unit;
  uint16_t bytes;  // a byte, or lead << 8 | trail
};

// The decoding tables of one code page, read only while a codec is built.
// Pairs form a lead_count x trail_count matrix, row by lead; a byte outside
// [lead_first, lead_first + lead_count) starts no pair. Lead bytes are at or
// above 0x80 and never decode alone.
struct TDecodeTables {
  const char16_t* single = nullptr;  // 256 entries
  const char16_t* pairs = nullptr;
  unsigned lead_first = 0x80;
  unsigned lead_count = 0;
  unsigned trail_first = 0;
  unsigned trail_count = 0;
};

class TTableCodePage final : public TCodePage {
 public:
  TTableCodePage(std::string name, const TDecodeTables& tables,
                 std::span<const TPreferredSequence> preferred);

  std::string_view Name() const override { return name_; }
  void DecodeAppend(std::string_view bytes, std::u16string& out) const override;
  void EncodeAppend(std::u16string_view text, std::string& out) const override;

 private:
  std::string name_;
  // What each byte decodes to when it starts no pair: a character or U+DC00 +
  // byte.
  std::array<char16_t, 256> single_or_escape_{};
  // Pairs in rows of 256 trails, so that a pair is two loads and no range
  // check: row_of_[lead] + trail indexes rows_; bytes that lead no pair point
  // at row 0, which holds no character.
  std::array<uint16_t, 256> row_of_{};
  std::vector<char16_t> rows_;
  // Per unit: the byte it encodes to (below 0x100) or lead << 8 | trail.
  std::unique_ptr<uint16_t[]> encoding_;
  // Bytes 0x00..0x7F decode to themselves and units below 0x80 encode to
  // themselves: ASCII runs may take the block copy.
  bool ascii_decodes_as_is_ = false;
  bool ascii_encodes_as_is_ = false;
};

// Code page 936 from the built-in tables, as a codec of its own.
std::unique_ptr<TCodePage> MakeCp936();

// The engine's code page as chosen from the value of KOVRA_CODEPAGE (null
// when unset).
struct TEngineChoice {
  std::unique_ptr<TCodePage> loaded;  // null: code page 936
  std::string problem;                // why the named code page is not used
};
TEngineChoice ChooseEngineCodePage(const char* variable);

}  // namespace kovra::detail
