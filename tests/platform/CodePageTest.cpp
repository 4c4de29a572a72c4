#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/CodePageTable.h"

namespace kovra {
namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X ", c);
    out += buffer;
  }
  return out;
}

std::string HexUnits(std::u16string_view text) {
  std::string out;
  char buffer[8];
  for (char16_t u : text) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(u));
    out += buffer;
  }
  return out;
}

// The decoding table the built-in tables are generated from: bytes -> unit.
const std::map<std::string, char16_t>& Cp936Listing() {
  static const std::map<std::string, char16_t> listing = [] {
    std::map<std::string, char16_t> result;
    const auto path =
        std::filesystem::path(__FILE__).parent_path() / "../../engine/platform/cp936.txt";
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      std::string bytes_hex, unit_hex;
      if (!(fields >> bytes_hex >> unit_hex)) continue;
      std::string bytes;
      for (size_t i = 0; i + 1 < bytes_hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(bytes_hex.substr(i, 2), nullptr, 16));
      }
      result[bytes] = static_cast<char16_t>(std::stoi(unit_hex, nullptr, 16));
    }
    return result;
  }();
  return listing;
}

TEST(Cp936Test, EveryListedSequenceDecodesAndEncodesBack) {
  const auto& listing = Cp936Listing();
  ASSERT_EQ(listing.size(), 130u + 23940u);
  const TCodePage& cp = TCodePage::Cp936();
  for (const auto& [bytes, unit] : listing) {
    SCOPED_TRACE(Hex(bytes));
    EXPECT_EQ(cp.Decode(bytes), std::u16string(1, unit));
    EXPECT_EQ(cp.Encode(std::u16string(1, unit)), bytes);
  }
}

// Every one- and two-byte input: listed pairs are one character, all else
// decodes byte by byte, and the bytes always come back unchanged.
TEST(Cp936Test, EveryOneAndTwoByteInputRoundTrips) {
  const auto& listing = Cp936Listing();
  const TCodePage& cp = TCodePage::Cp936();
  for (unsigned first = 0; first < 256; ++first) {
    const std::string one(1, static_cast<char>(first));
    const std::u16string one_wide = cp.Decode(one);
    ASSERT_EQ(one_wide.size(), 1u) << Hex(one);
    if (!listing.count(one)) {
      EXPECT_EQ(one_wide[0], 0xDC00 + first) << Hex(one);
    }
    EXPECT_EQ(cp.Encode(one_wide), one) << Hex(one);
    for (unsigned second = 0; second < 256; ++second) {
      const std::string two = one + static_cast<char>(second);
      const std::u16string wide = cp.Decode(two);
      const bool is_pair = listing.count(two) != 0;
      if (is_pair) {
        ASSERT_EQ(wide.size(), 1u) << Hex(two);
      } else {
        ASSERT_EQ(wide, one_wide + cp.Decode(two.substr(1))) << Hex(two);
      }
      ASSERT_EQ(cp.Encode(wide), two) << Hex(two);
    }
  }
}

struct TCodecCase {
  std::string bytes;
  std::u16string wide;
};

// Both ways: bytes decode to wide, wide encodes to bytes.
TEST(Cp936Test, KnownTextsAndUndecodableBytes) {
  using namespace std::string_literals;
  const TCodecCase cases[] = {
      {"", u""},
      {"plain ASCII text", u"plain ASCII text"},
      {"\xD6\xD0\xCE\xC4", u"中文"},
      {"\x80", u"€"},
      {"\xFF", u"\xF8F5"},
      {"a\xA3\xA1z", u"a！z"},
      {"a\0b"s, u"a\0b"s},
      // Lone lead bytes, a lead at the end, a lead before a byte that is no
      // trail: each undecodable byte stands alone and the next is read afresh.
      {"\x81", u"\xDC81"},
      {"ab\xD6", u"ab\xDCD6"},
      {"\xD6\xD0\xD6", u"中\xDCD6"},
      {"\x81\x30", u"\xDC81\x0030"},
      {"\x81\x7F", u"\xDC81\x7F"},
      {"\xD6\0"s, u"\xDCD6\0"s},
      {"\xFE\xFF", u"\xDCFE\xF8F5"},
      {"\x81\x81\x40", u"\x4E96@"},
  };
  const TCodePage& cp = TCodePage::Cp936();
  for (const TCodecCase& c : cases) {
    SCOPED_TRACE(Hex(c.bytes));
    EXPECT_EQ(HexUnits(cp.Decode(c.bytes)), HexUnits(c.wide));
    EXPECT_EQ(Hex(cp.Encode(c.wide)), Hex(c.bytes));
  }
}

TEST(Cp936Test, UnrepresentableCharactersEncodeToQuestionMark) {
  const TCodecCase cases[] = {
      {"?", u"☃"},
      {"a?b", u"a\U0001F600b"},  // a surrogate pair is one character
      {"?", u"\xD800"},
      {"?a", u"\xDBFF\x0061"},
      {"??", u"\xD800\xD800\xDC00"},
      {"?", u"\xDC41"},  // only U+DC80..U+DCFF stand for bytes
      {"\x80", u"\xDC80"},
      {"\xD6\xD0\xFF", u"\xDCD6\xDCD0\xDCFF"},
      {"?", u"\xFFFF"},
      {"\xA8\xA6?", u"é\x0100"},
  };
  const TCodePage& cp = TCodePage::Cp936();
  for (const TCodecCase& c : cases) {
    SCOPED_TRACE(HexUnits(c.wide));
    EXPECT_EQ(Hex(cp.Encode(c.wide)), Hex(c.bytes));
  }
}

// The block copies for ASCII must hand over exactly where the ASCII ends,
// wherever that falls in a block, and appending keeps what is there.
TEST(Cp936Test, NonAsciiAtEveryOffsetOfLongText) {
  const TCodePage& cp = TCodePage::Cp936();
  for (size_t length : {15u, 16u, 17u, 40u}) {
    for (size_t at = 0; at <= length; ++at) {
      SCOPED_TRACE(testing::Message() << "length " << length << " at " << at);
      const std::string bytes = std::string(at, 'x') + "\xD6\xD0" + std::string(length - at, 'x');
      const std::u16string wide =
          std::u16string(at, u'x') + u"中" + std::u16string(length - at, u'x');
      std::u16string decoded = u"<";
      cp.DecodeAppend(bytes, decoded);
      EXPECT_EQ(decoded, u"<" + wide);
      std::string encoded = ">";
      cp.EncodeAppend(wide, encoded);
      EXPECT_EQ(encoded, ">" + bytes);
    }
  }
}

// Deterministic pseudo-random bytes, biased towards lead bytes and ASCII.
std::string RandomBytes(uint32_t seed, size_t length) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const unsigned r = seed >> 24;
    out += static_cast<char>(r < 96 ? r : r < 160 ? 'a' + r % 26 : 0x80 + r % 128);
  }
  return out;
}

TEST(CodePageTest, ArbitraryBytesRoundTrip) {
  const TCodePage& cp = TCodePage::Cp936();
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    const std::string bytes = RandomBytes(seed, seed * 7);
    SCOPED_TRACE(Hex(bytes));
    ASSERT_EQ(cp.Encode(cp.Decode(bytes)), bytes);
    ASSERT_EQ(EncodeUtf8(DecodeUtf8(bytes)), bytes);
  }
}

struct TUtf8Case {
  std::string bytes;
  std::u16string wide;
  bool valid;
};

TEST(Utf8Test, DecodesAndEncodesBack) {
  using namespace std::string_literals;
  const TUtf8Case cases[] = {
      {"", u"", true},
      {"abc\0"s, u"abc\0"s, true},
      {"\xC3\xA9", u"é", true},
      {"\xE4\xB8\xAD\xE6\x96\x87", u"中文", true},
      {"\xEF\xBF\xBF", u"\xFFFF", true},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00", true},
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF", true},
      // Not well-formed: every byte of the bad sequence stands alone.
      {"\x80", u"\xDC80", false},
      {"a\xFF", u"a\xDCFF", false},
      {"\xC0\x80", u"\xDCC0\xDC80", false},            // overlong NUL
      {"\xC1\xBF", u"\xDCC1\xDCBF", false},            // overlong
      {"\xE0\x9F\xBF", u"\xDCE0\xDC9F\xDCBF", false},  // overlong
      {"\xF0\x8F\xBF\xBF", u"\xDCF0\xDC8F\xDCBF\xDCBF", false},
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80", false},            // encoded surrogate
      {"\xED\xB2\x80", u"\xDCED\xDCB2\xDC80", false},            // would be U+DC80 itself
      {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80", false},  // above U+10FFFF
      {"\xE4\xB8", u"\xDCE4\xDCB8", false},                      // cut short at the end
      {"\xE4\xB8\x61", u"\xDCE4\xDCB8\x0061", false},            // cut short by an "a"
      {"\xC3\xC3\xA9", u"\xDCC3é", false},
  };
  for (const TUtf8Case& c : cases) {
    SCOPED_TRACE(Hex(c.bytes));
    EXPECT_EQ(HexUnits(DecodeUtf8(c.bytes)), HexUnits(c.wide));
    EXPECT_EQ(Hex(EncodeUtf8(c.wide)), Hex(c.bytes));
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
  }
}

TEST(Utf8Test, LoneSurrogatesEncode) {
  const TCodecCase cases[] = {
      {"\xEF\xBF\xBD", u"\xD800"},   {"\xEF\xBF\xBD\x61", u"\xDBFF\x0061"},
      {"\xEF\xBF\xBD", u"\xDC7F"},   {"\xEF\xBF\xBD\xF0\x90\x80\x80", u"\xD800\xD800\xDC00"},
      {"\x80\xFF", u"\xDC80\xDCFF"},
  };
  for (const TCodecCase& c : cases) {
    SCOPED_TRACE(HexUnits(c.wide));
    EXPECT_EQ(Hex(EncodeUtf8(c.wide)), Hex(c.bytes));
  }
}

TEST(Utf8Test, LongMixedTextAtEveryOffset) {
  for (size_t at = 0; at <= 33; ++at) {
    SCOPED_TRACE(at);
    std::string bytes =
        std::string(at, 'x') + "\xE4\xB8\xAD\xF0\x9F\x98\x80" + std::string(33 - at, 'x');
    const std::u16string wide =
        std::u16string(at, u'x') + u"中\U0001F600" + std::u16string(33 - at, u'x');
    EXPECT_EQ(DecodeUtf8(bytes), wide);
    EXPECT_EQ(EncodeUtf8(wide), bytes);
    EXPECT_TRUE(IsValidUtf8(bytes));
    bytes[at] = '\xFF';
    EXPECT_FALSE(IsValidUtf8(bytes));
  }
}

TEST(LoadTest, NumberGoesToIconvAsCodePage) {
  std::string error;
  const auto cp = TCodePage::Load("1252", &error);
  ASSERT_NE(cp, nullptr) << error;
  EXPECT_EQ(cp->Name(), "CP1252");
  const TCodecCase cases[] = {
      {"\x80", u"€"}, {"caf\xE9", u"café"}, {"\x81\x8D", u"\xDC81\xDC8D"},  // unused in 1252
  };
  for (const TCodecCase& c : cases) {
    SCOPED_TRACE(Hex(c.bytes));
    EXPECT_EQ(HexUnits(cp->Decode(c.bytes)), HexUnits(c.wide));
    EXPECT_EQ(Hex(cp->Encode(c.wide)), Hex(c.bytes));
  }
  EXPECT_EQ(cp->Encode(u"中\U0001F600"), "??");
  for (unsigned b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(cp->Encode(cp->Decode(byte)), byte) << b;
  }
}

// EBCDIC keeps no ASCII byte in place: the ASCII block copies must stay off.
TEST(LoadTest, CodePageWithoutAsciiInPlace) {
  const auto cp = TCodePage::Load("037", nullptr);
  ASSERT_NE(cp, nullptr);
  const std::string bytes = "\xC1\x81\x40\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xF0\xF1\xF2\xF3\xF4";
  const std::u16string wide = u"Aa 12345678901234";
  EXPECT_EQ(cp->Decode(bytes), wide);
  EXPECT_EQ(cp->Encode(wide), bytes);
}

// Double-byte code pages through iconv, each with its own trail range.
TEST(LoadTest, DoubleByteCodePagesThroughIconv) {
  const struct {
    const char* name;
    std::string bytes;
    std::u16string wide;
    bool one_sequence_per_character;  // then all bytes survive a round trip
  } cases[] = {
      {"949", "\xB0\xA1\x81\x41", u"가갂", true},        // trail 0x41
      {"950", "\xA4\xA4\xA4\xE5", u"中文", false},       // Big5
      {"JOHAB", "\x88\x61\xD9\x31", u"가\x3000", true},  // trail 0x31
      {"GBK", "\xD6\xD0\xCE\xC4", u"中文", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto cp = TCodePage::Load(c.name, &error);
    ASSERT_NE(cp, nullptr) << error;
    EXPECT_EQ(HexUnits(cp->Decode(c.bytes)), HexUnits(c.wide));
    EXPECT_EQ(Hex(cp->Encode(c.wide)), Hex(c.bytes));
    if (!c.one_sequence_per_character) continue;
    for (unsigned lead = 0x80; lead < 256; ++lead) {
      for (unsigned trail = 0; trail < 256; ++trail) {
        const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail), 'a'};
        ASSERT_EQ(cp->Encode(cp->Decode(bytes)), bytes) << Hex(bytes);
      }
    }
  }
}

// Code page 932 gives some characters two byte pairs; they encode to the
// first in byte order.
TEST(LoadTest, CharacterWithTwoSequencesEncodesToTheFirst) {
  const auto cp = TCodePage::Load("932", nullptr);
  ASSERT_NE(cp, nullptr);
  EXPECT_EQ(cp->Decode("\x82\xA0\x81\x40\x81\xE0\x87\x90"), u"あ　≒≒");
  EXPECT_EQ(cp->Encode(u"あ　≒"), "\x82\xA0\x81\x40\x81\xE0");
}

TEST(LoadTest, NamesThatDoNotLoad) {
  using namespace std::string_literals;
  const struct {
    std::string name;
    std::string error;
  } cases[] = {
      {"no-such-code-page", "unknown code page \"no-such-code-page\""},
      {"", "unknown code page \"\""},
      {"99999", "unknown code page \"99999\""},
      {"UTF-8", "\"UTF-8\" is not a single-byte or double-byte code page"},
      {"GB18030", "\"GB18030\" is not a single-byte or double-byte code page"},
      {"UTF-16LE", "\"UTF-16LE\" is not a single-byte or double-byte code page"},
      {"ISO-2022-JP", "\"ISO-2022-JP\" is not a single-byte or double-byte code page"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_EQ(TCodePage::Load(c.name, &error), nullptr);
    EXPECT_EQ(error, c.error);
  }
  EXPECT_EQ(TCodePage::Load("nope", nullptr), nullptr);
}

TEST(LoadTest, Cp936NamesUseTheBuiltInTables) {
  for (const char* name : {"936", "cp936", "CP936"}) {
    SCOPED_TRACE(name);
    const auto cp = TCodePage::Load(name, nullptr);
    ASSERT_NE(cp, nullptr);
    EXPECT_EQ(cp->Name(), "CP936");
    EXPECT_EQ(cp->Decode("\x80\xFF\xD6\xD0"), u"€\xF8F5中");
  }
}

TEST(EngineCodePageTest, ChosenFromTheVariable) {
  const struct {
    const char* variable;
    std::string name;  // empty: code page 936
    std::string problem;
  } cases[] = {
      {nullptr, "", ""},
      {"", "", ""},
      {"1252", "CP1252", ""},
      {"bogus", "", "KOVRA_CODEPAGE: unknown code page \"bogus\"; using code page 936"},
      {"UTF-8", "",
       "KOVRA_CODEPAGE: \"UTF-8\" is not a single-byte or double-byte code page; using code page "
       "936"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.variable ? c.variable : "(unset)");
    const detail::TEngineChoice choice = detail::ChooseEngineCodePage(c.variable);
    EXPECT_EQ(choice.loaded ? std::string(choice.loaded->Name()) : "", c.name);
    EXPECT_EQ(choice.problem, c.problem);
  }
  // Built once: the same codec every time.
  EXPECT_EQ(&TCodePage::Engine(), &TCodePage::Engine());
}

}  // namespace
}  // namespace kovra
