// kovra_gen_codepage: turns a code page's decoding table (text, one character
// a line) into the constant C++ tables the codec is built from.
//
//   kovra_gen_codepage INPUT.txt OUTPUT.inc
//
// Input lines: "XX UUUU" for a single byte, "XXYY UUUU" for a byte pair, hex,
// the unit being the UTF-16 code unit the bytes decode to; lines starting with
// '#' and blank lines are skipped. The output holds a 256-entry single-byte
// table and a lead x trail pair table spanning the leads and trails in use,
// with 0xFFFF for "not a character", plus the units that more than one byte
// sequence decodes to, each with the sequence listed first (the one encoding
// produces). The output file is rewritten only when its text changes, so an
// unchanged table does not rebuild the library.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr uint32_t kNoChar = 0xFFFF;

struct TEntry {
  uint32_t bytes;  // one byte, or lead << 8 | trail
  bool pair;
  uint32_t unit;
  int line;
};

int Fail(const std::string& where, const std::string& message) {
  std::fprintf(stderr, "kovra_gen_codepage: %s: %s\n", where.c_str(), message.c_str());
  return 1;
}

// Parses a run of hex digits of exactly `digits` length.
bool ParseHex(std::string_view text, size_t digits, uint32_t* value) {
  if (text.size() != digits) return false;
  uint32_t v = 0;
  for (char c : text) {
    uint32_t d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else {
      return false;
    }
    v = v * 16 + d;
  }
  *value = v;
  return true;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

void AppendHexList(std::string& out, const std::vector<uint32_t>& values) {
  char buffer[16];
  for (size_t i = 0; i < values.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "0x%04X,", static_cast<unsigned>(values[i]));
    out += (i % 12 == 0) ? "\n    " : " ";
    out += buffer;
  }
  out += "\n";
}

std::string Hex2(uint32_t v) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(v));
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kovra_gen_codepage INPUT.txt OUTPUT.inc\n");
    return 2;
  }
  const std::string input_path = argv[1];
  const std::string output_path = argv[2];

  std::ifstream input(input_path, std::ios::binary);
  if (!input) return Fail(input_path, "cannot open");

  std::vector<TEntry> entries;
  std::map<uint32_t, int> seen_bytes[2];  // singles, pairs -> line
  std::string raw;
  int line_number = 0;
  while (std::getline(input, raw)) {
    ++line_number;
    const std::string where = input_path + ":" + std::to_string(line_number);
    std::string_view line = raw;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '#') continue;
    const auto fields = SplitFields(line);
    if (fields.empty()) continue;
    if (fields.size() != 2) return Fail(where, "expected \"BYTES UNIT\"");
    TEntry entry{0, fields[0].size() == 4, 0, line_number};
    if (!ParseHex(fields[0], entry.pair ? 4 : 2, &entry.bytes)) {
      return Fail(where, "bytes must be 2 or 4 hex digits");
    }
    if (!ParseHex(fields[1], 4, &entry.unit)) return Fail(where, "unit must be 4 hex digits");
    // Surrogates stand for undecodable bytes and 0xFFFF marks "no character":
    // neither can be what a byte sequence decodes to.
    if ((entry.unit >= 0xD800 && entry.unit <= 0xDFFF) || entry.unit == kNoChar) {
      return Fail(where, "unit is a surrogate or U+FFFF");
    }
    if (entry.pair && (entry.bytes >> 8) < 0x80) {
      return Fail(where, "lead byte below 0x80");
    }
    auto [it, inserted] = seen_bytes[entry.pair].emplace(entry.bytes, line_number);
    if (!inserted) return Fail(where, "bytes already listed on line " + std::to_string(it->second));
    entries.push_back(entry);
  }
  if (input.bad()) return Fail(input_path, "read error");

  // Range of leads and trails in use.
  uint32_t lead_first = 0xFF, lead_last = 0, trail_first = 0xFF, trail_last = 0;
  bool any_pair = false;
  for (const TEntry& e : entries) {
    if (!e.pair) continue;
    any_pair = true;
    const uint32_t lead = e.bytes >> 8, trail = e.bytes & 0xFF;
    if (seen_bytes[0].count(lead)) {
      return Fail(input_path + ":" + std::to_string(e.line),
                  "lead byte " + Hex2(lead) + " is also listed as a character of its own");
    }
    lead_first = std::min(lead_first, lead);
    lead_last = std::max(lead_last, lead);
    trail_first = std::min(trail_first, trail);
    trail_last = std::max(trail_last, trail);
  }
  if (!any_pair) lead_first = 0x80, lead_last = 0x7F, trail_first = 0x40, trail_last = 0x3F;
  const uint32_t lead_count = lead_last + 1 - lead_first;
  const uint32_t trail_count = trail_last + 1 - trail_first;

  std::vector<uint32_t> single(256, kNoChar);
  std::vector<uint32_t> pairs(static_cast<size_t>(lead_count) * trail_count, kNoChar);
  // The sequence each unit encodes to: the first listed. The codec fills its
  // encoding table in byte order (a pair's key lead << 8 | trail is above every
  // single byte), keeping the lowest key, so only units whose first-listed
  // sequence is not their lowest key need recording.
  std::map<uint32_t, uint32_t> first_listed;  // unit -> key
  std::map<uint32_t, uint32_t> lowest_key;    // unit -> key
  for (const TEntry& e : entries) {
    if (e.pair) {
      pairs[((e.bytes >> 8) - lead_first) * trail_count + ((e.bytes & 0xFF) - trail_first)] =
          e.unit;
    } else {
      single[e.bytes] = e.unit;
    }
    first_listed.emplace(e.unit, e.bytes);
    auto [it, inserted] = lowest_key.emplace(e.unit, e.bytes);
    if (!inserted) it->second = std::min(it->second, e.bytes);
  }

  std::string out;
  out += "// Generated by kovra_gen_codepage from the decoding table; do not edit.\n";
  out += "// 0xFFFF: not a character.\n\n";
  out += "inline constexpr unsigned kCp936LeadFirst = " + Hex2(lead_first) + ";\n";
  out += "inline constexpr unsigned kCp936LeadLast = " + Hex2(lead_last) + ";\n";
  out += "inline constexpr unsigned kCp936TrailFirst = " + Hex2(trail_first) + ";\n";
  out += "inline constexpr unsigned kCp936TrailLast = " + Hex2(trail_last) + ";\n\n";
  out += "// What each byte decodes to on its own.\n";
  out += "inline constexpr char16_t kCp936Single[256] = {";
  AppendHexList(out, single);
  out += "};\n\n";
  out += "// What each lead + trail pair decodes to, row by lead.\n";
  out += "inline constexpr char16_t kCp936Pairs[" + std::to_string(lead_count) + " * " +
         std::to_string(trail_count) + "] = {";
  AppendHexList(out, pairs);
  out += "};\n\n";
  out += "// Units whose encoding is not the first sequence in byte order that\n";
  out += "// decodes to them: {unit, byte or lead << 8 | trail}.\n";
  std::vector<uint32_t> preferred;
  for (const auto& [unit, sequence] : first_listed) {
    if (lowest_key[unit] != sequence) {
      preferred.push_back(unit);
      preferred.push_back(sequence);
    }
  }
  out += "inline constexpr std::array<TPreferredSequence, " + std::to_string(preferred.size() / 2) +
         "> kCp936Preferred = {{";
  for (size_t i = 0; i < preferred.size(); i += 2) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "\n    {0x%04X, 0x%04X},",
                  static_cast<unsigned>(preferred[i]), static_cast<unsigned>(preferred[i + 1]));
    out += buffer;
  }
  out += preferred.empty() ? "}};\n" : "\n}};\n";

  {
    std::ifstream existing(output_path, std::ios::binary);
    if (existing) {
      const std::string old_text((std::istreambuf_iterator<char>(existing)),
                                 std::istreambuf_iterator<char>());
      if (old_text == out) return 0;
    }
  }
  std::ofstream output(output_path, std::ios::binary | std::ios::trunc);
  output << out;
  output.close();
  if (!output) {
    std::remove(output_path.c_str());
    return Fail(output_path, "cannot write");
  }
  return 0;
}
