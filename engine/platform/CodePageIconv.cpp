// Loading a code page through iconv: its decoding tables are built by asking
// iconv what every byte and every byte pair decodes to, once, at load.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/CodePageTable.h"

namespace kovra {
namespace {

using detail::kNoChar;

enum class TProbe {
  kChar,        // one unit that fits the tables
  kInvalid,     // not a character (or one the tables cannot hold)
  kIncomplete,  // the start of a longer sequence
  kShift,       // consumed without output: a state change
};

class TIconv {
 public:
  explicit TIconv(const std::string& from)
      : cd_(iconv_open(std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE",
                       from.c_str())) {}
  ~TIconv() {
    if (ok()) iconv_close(cd_);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Decodes exactly `bytes` from the initial state, flushing what a
  // converter holds back (some compose a character with the next one).
  TProbe Probe(const unsigned char* bytes, size_t length, char16_t* unit) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char32_t decoded[4];
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t in_left = length;
    char* out = reinterpret_cast<char*>(decoded);
    size_t out_left = sizeof decoded;
    if (iconv(cd_, &in, &in_left, &out, &out_left) == static_cast<size_t>(-1)) {
      if (errno == EINVAL) return TProbe::kIncomplete;
      return TProbe::kInvalid;
    }
    if (iconv(cd_, nullptr, nullptr, &out, &out_left) == static_cast<size_t>(-1)) {
      return TProbe::kInvalid;
    }
    const size_t count = (sizeof decoded - out_left) / sizeof(char32_t);
    if (count == 0) return TProbe::kShift;
    // One unit per sequence: characters beyond the BMP, sequences that
    // decode to several characters, U+FFFD (a converter's "undefined") and
    // U+FFFF are left undecoded, so their bytes still survive a round trip.
    const char32_t c = decoded[0];
    if (count > 1 || c >= 0xFFFD || (c >= 0xD800 && c <= 0xDFFF)) return TProbe::kInvalid;
    *unit = static_cast<char16_t>(c);
    return TProbe::kChar;
  }

 private:
  iconv_t cd_;
};

std::string Quoted(std::string_view name) {
  std::string quoted(1, '"');
  quoted.append(name);
  quoted += '"';
  return quoted;
}

bool IsNumber(std::string_view name) {
  if (name.empty() || name.size() > 5) return false;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<TCodePage> TCodePage::Load(std::string_view name, std::string* error) {
  auto fail = [&](std::string reason) -> std::unique_ptr<TCodePage> {
    if (error) *error = std::move(reason);
    return nullptr;
  };
  if (name.empty() || name.find('\0') != std::string_view::npos) {
    return fail("unknown code page " + Quoted(name));
  }
  const std::string iconv_name = IsNumber(name) ? "CP" + std::string(name) : std::string(name);
  if (SameNameIgnoringCase(iconv_name, "CP936")) return detail::MakeCp936();

  TIconv converter(iconv_name);
  if (!converter.ok()) return fail("unknown code page " + Quoted(name));
  const std::string not_dbcs = Quoted(name) + " is not a single-byte or double-byte code page";

  std::vector<char16_t> single(256, kNoChar);
  std::vector<unsigned> leads;
  for (unsigned b = 0; b < 256; ++b) {
    const unsigned char byte = static_cast<unsigned char>(b);
    switch (converter.Probe(&byte, 1, &single[b])) {
      case TProbe::kChar:
        break;
      case TProbe::kInvalid:
        single[b] = kNoChar;
        break;
      case TProbe::kIncomplete:
        // ASCII bytes never start a sequence in the code pages we serve;
        // where they do, this is UTF-16 or the like.
        if (b < 0x80) return fail(not_dbcs);
        leads.push_back(b);
        break;
      case TProbe::kShift:
        return fail(not_dbcs);
    }
  }

  // Every trail is tried: code pages differ in their trail ranges (Johab's
  // start at 0x31), and a trail that leaves the sequence incomplete marks a
  // multi-byte encoding such as UTF-8 or GB18030.
  detail::TDecodeTables tables;
  std::vector<char16_t> pairs;
  if (!leads.empty()) {
    tables.lead_first = leads.front();
    tables.lead_count = leads.back() + 1 - leads.front();
    tables.trail_first = 0;
    tables.trail_count = 256;
    pairs.assign(tables.lead_count * 256, kNoChar);
  }
  for (const unsigned lead : leads) {
    char16_t* const row = pairs.data() + (lead - tables.lead_first) * 256;
    for (unsigned trail = 0; trail < 256; ++trail) {
      // Lead 0xFF with trail 0xFF would collide with the encoder's marker.
      if (lead == 0xFF && trail == 0xFF) continue;
      const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                     static_cast<unsigned char>(trail)};
      switch (converter.Probe(pair, 2, &row[trail])) {
        case TProbe::kChar:
          break;
        case TProbe::kInvalid:
          row[trail] = kNoChar;
          break;
        case TProbe::kIncomplete:
        case TProbe::kShift:
          return fail(not_dbcs);
      }
    }
  }
  tables.single = single.data();
  tables.pairs = pairs.data();
  return std::make_unique<detail::TTableCodePage>(iconv_name, tables,
                                                  std::span<const detail::TPreferredSequence>());
}

}  // namespace kovra
