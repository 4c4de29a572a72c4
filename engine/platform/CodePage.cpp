// The table-driven code page codec, the built-in code page 936 and the
// engine's choice of code page.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "platform/CodePage.h"
#include "platform/CodePageAscii.h"
#include "platform/CodePageTable.h"

namespace kovra {
namespace detail {
namespace {

#include "Cp936Tables.inc"

constexpr char16_t kEscapeBase = 0xDC00;  // a byte that is no character: U+DC00 + byte
constexpr uint16_t kReplacement = '?';

bool IsHighSurrogate(char16_t unit) {
  return (unit & 0xFC00) == 0xD800;
}
bool IsLowSurrogate(char16_t unit) {
  return (unit & 0xFC00) == 0xDC00;
}

TDecodeTables Cp936Tables() {
  TDecodeTables tables;
  tables.single = kCp936Single;
  tables.pairs = kCp936Pairs;
  tables.lead_first = kCp936LeadFirst;
  tables.lead_count = kCp936LeadLast + 1 - kCp936LeadFirst;
  tables.trail_first = kCp936TrailFirst;
  tables.trail_count = kCp936TrailLast + 1 - kCp936TrailFirst;
  return tables;
}

}  // namespace

TTableCodePage::TTableCodePage(std::string name, const TDecodeTables& tables,
                               std::span<const TPreferredSequence> preferred)
    : name_(std::move(name)) {
  for (unsigned b = 0; b < 256; ++b) {
    const char16_t unit = tables.single[b];
    single_or_escape_[b] = unit != kNoChar ? unit : static_cast<char16_t>(kEscapeBase + b);
  }
  rows_.assign((tables.lead_count + 1) * 256, kNoChar);
  for (unsigned li = 0; li < tables.lead_count; ++li) {
    const unsigned row = (li + 1) * 256;
    row_of_[tables.lead_first + li] = static_cast<uint16_t>(row);
    for (unsigned ti = 0; ti < tables.trail_count; ++ti) {
      rows_[row + tables.trail_first + ti] = tables.pairs[li * tables.trail_count + ti];
    }
  }

  constexpr uint16_t kUnset = 0xFFFF;  // lead 0xFF + trail 0xFF, never a pair here
  encoding_ = std::make_unique<uint16_t[]>(0x10000);
  uint16_t* const enc = encoding_.get();
  std::fill(enc, enc + 0x10000, kUnset);
  // In byte order, the first sequence wins; the generator lists the units for
  // which the table names another.
  for (unsigned b = 0; b < 256; ++b) {
    const char16_t unit = tables.single[b];
    if (unit != kNoChar && enc[unit] == kUnset) enc[unit] = static_cast<uint16_t>(b);
  }
  for (unsigned lead = 0x80; lead < 256; ++lead) {
    const char16_t* const row = rows_.data() + row_of_[lead];
    for (unsigned trail = 0; trail < 256; ++trail) {
      const char16_t unit = row[trail];
      if (unit != kNoChar && enc[unit] == kUnset)
        enc[unit] = static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  for (const TPreferredSequence& p : preferred) enc[p.unit] = p.bytes;
  std::replace(enc, enc + 0x10000, kUnset, kReplacement);
  // Units standing for undecodable bytes go back to their byte. The units of
  // bytes 0x80..0xFF always do (UTF-8 uses them too); those of lower bytes
  // only where the byte really is undecodable, which no ASCII-based code page
  // has, so that elsewhere such a unit is text to replace like any other.
  for (unsigned b = 0; b < 256; ++b) {
    if (b >= 0x80 || tables.single[b] == kNoChar) enc[kEscapeBase + b] = static_cast<uint16_t>(b);
  }

  ascii_decodes_as_is_ = true;
  ascii_encodes_as_is_ = true;
  for (unsigned b = 0; b < 0x80; ++b) {
    ascii_decodes_as_is_ = ascii_decodes_as_is_ && single_or_escape_[b] == b;
    ascii_encodes_as_is_ = ascii_encodes_as_is_ && enc[b] == b;
  }
}

void TTableCodePage::DecodeAppend(std::string_view bytes, std::u16string& out) const {
  const size_t base = out.size();
  const size_t n = bytes.size();
  // Every byte decodes to at most one unit.
  out.resize(base + n);
  char16_t* const o = out.data() + base;
  const unsigned char* const p = reinterpret_cast<const unsigned char*>(bytes.data());
  const char16_t* const single_or_escape = single_or_escape_.data();
  const uint16_t* const row_of = row_of_.data();
  const char16_t* const rows = rows_.data();
  const bool ascii_fast = ascii_decodes_as_is_;

  size_t i = 0, k = 0;
  while (i < n) {
    const unsigned b = p[i];
    if (b < 0x80 && ascii_fast) {
      const size_t run = WidenAscii(bytes.data() + i, n - i, o + k);
      i += run;
      k += run;
      continue;
    }
    // A run of double-byte characters, the bulk of Chinese text.
    size_t j = i;
    while (j + 1 < n) {
      const char16_t unit = rows[row_of[p[j]] + p[j + 1]];
      if (unit == kNoChar) break;
      o[k++] = unit;
      j += 2;
    }
    if (j != i) {
      i = j;
      continue;
    }
    // No pair here: a character alone, or a byte that is none, to be
    // re-encoded as itself (a lead byte is never a character alone). A trail
    // byte after an undecodable lead is read afresh.
    o[k++] = single_or_escape[b];
    ++i;
  }
  out.resize(base + k);
}

void TTableCodePage::EncodeAppend(std::u16string_view text, std::string& out) const {
  const size_t base = out.size();
  const size_t n = text.size();
  // Room for at least one byte per unit left (limit >= k + n - i), so the
  // ASCII block copy always fits. The first double-byte character makes room
  // for two bytes per unit left, which then holds to the end: one resize at
  // most beyond the first.
  size_t limit = n;
  out.resize(base + limit);
  char* o = out.data() + base;
  const char16_t* const s = text.data();
  const uint16_t* const enc = encoding_.get();
  const bool ascii_fast = ascii_encodes_as_is_;

  size_t i = 0, k = 0;
  while (i < n) {
    const char16_t u = s[i];
    if (u < 0x80 && ascii_fast) {
      const size_t run = NarrowAscii(s + i, n - i, o + k);
      i += run;
      k += run;
      continue;
    }
    uint16_t e = enc[u];
    if (e >= 0x100) {
      if (k + 2 * (n - i) > limit) {
        limit = k + 2 * (n - i);
        out.resize(base + limit);
        o = out.data() + base;
      }
      do {
        o[k] = static_cast<char>(e >> 8);
        o[k + 1] = static_cast<char>(e & 0xFF);
        k += 2;
      } while (++i < n && (e = enc[s[i]]) >= 0x100);
      continue;
    }
    // A surrogate pair is one character the code page cannot hold: one '?'.
    if (e == kReplacement && IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(s[i + 1])) ++i;
    o[k++] = static_cast<char>(e);
    ++i;
  }
  out.resize(base + k);
}

std::unique_ptr<TCodePage> MakeCp936() {
  return std::make_unique<TTableCodePage>("CP936", Cp936Tables(), kCp936Preferred);
}

TEngineChoice ChooseEngineCodePage(const char* variable) {
  TEngineChoice choice;
  if (variable == nullptr || *variable == '\0') return choice;
  std::string error;
  choice.loaded = TCodePage::Load(variable, &error);
  if (!choice.loaded) choice.problem = "KOVRA_CODEPAGE: " + error + "; using code page 936";
  return choice;
}

}  // namespace detail

namespace {

const detail::TEngineChoice& EngineChoice() {
  static const detail::TEngineChoice choice =
      detail::ChooseEngineCodePage(std::getenv("KOVRA_CODEPAGE"));
  return choice;
}

}  // namespace

const TCodePage& TCodePage::Cp936() {
  static const detail::TTableCodePage cp936("CP936", detail::Cp936Tables(),
                                            detail::kCp936Preferred);
  return cp936;
}

const TCodePage& TCodePage::Engine() {
  const detail::TEngineChoice& choice = EngineChoice();
  return choice.loaded ? *choice.loaded : Cp936();
}

std::string EngineCodePageProblem() {
  return EngineChoice().problem;
}

std::u16string ToWide(std::string_view bytes) {
  return TCodePage::Engine().Decode(bytes);
}

std::string ToNarrow(std::u16string_view text) {
  return TCodePage::Engine().Encode(text);
}
}  // namespace kovra
