// UTF-8 conversion with the same round-trip guarantee as the code pages:
// bytes that are not well-formed UTF-8 decode to U+DC00 + byte and encode
// back to that byte.
#include <cstdint>

#include "platform/CodePage.h"
#include "platform/CodePageAscii.h"

namespace kovra {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length of the well-formed sequence of two or more bytes at p[0, left),
// with its code point in *cp; 0 when there is none (overlong forms, encoded
// surrogates and code points above U+10FFFF are not well-formed).
int SequenceAt(const unsigned char* p, size_t left, char32_t* cp) {
  const unsigned char b = p[0];
  if (b >= 0xC2 && b <= 0xDF) {
    if (left < 2 || !IsContinuation(p[1])) return 0;
    *cp = (b & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    return 2;
  }
  if (b >= 0xE0 && b <= 0xEF) {
    if (left < 3) return 0;
    const unsigned char low = b == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = b == 0xED ? 0x9F : 0xBF;
    if (p[1] < low || p[1] > high || !IsContinuation(p[2])) return 0;
    *cp = (b & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    return 3;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (left < 4) return 0;
    const unsigned char low = b == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = b == 0xF4 ? 0x8F : 0xBF;
    if (p[1] < low || p[1] > high || !IsContinuation(p[2]) || !IsContinuation(p[3])) return 0;
    *cp = (b & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
    return 4;
  }
  return 0;
}

}  // namespace

std::u16string DecodeUtf8(std::string_view bytes) {
  const size_t n = bytes.size();
  // No sequence yields more units than it has bytes.
  std::u16string out(n, u'\0');
  char16_t* const o = out.data();
  const char* const p = bytes.data();
  size_t i = 0, k = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(p[i]);
    if (b < 0x80) {
      const size_t run = detail::WidenAscii(p + i, n - i, o + k);
      i += run;
      k += run;
      continue;
    }
    char32_t cp = 0;
    const int length = SequenceAt(reinterpret_cast<const unsigned char*>(p + i), n - i, &cp);
    if (length == 0) {
      o[k++] = static_cast<char16_t>(kEscapeBase + b);
      ++i;
    } else if (cp < 0x10000) {
      o[k++] = static_cast<char16_t>(cp);
      i += length;
    } else {
      o[k++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      o[k++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      i += length;
    }
  }
  out.resize(k);
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  const size_t n = text.size();
  // Invariant limit >= k + units left (one byte each), so the ASCII block
  // copy always fits; a longer character grows the buffer to three bytes per
  // unit left, enough for the rest.
  size_t limit = n;
  std::string out(limit, '\0');
  char* o = out.data();
  const char16_t* const s = text.data();
  size_t i = 0, k = 0;
  while (i < n) {
    const char16_t u = s[i];
    if (u < 0x80) {
      const size_t run = detail::NarrowAscii(s + i, n - i, o + k);
      i += run;
      k += run;
      continue;
    }
    char32_t cp = u;
    size_t consumed = 1;
    if ((u & 0xFC00) == 0xD800 && i + 1 < n && (s[i + 1] & 0xFC00) == 0xDC00) {
      cp = 0x10000 + ((u - 0xD800u) << 10) + (s[i + 1] - 0xDC00u);
      consumed = 2;
    } else if (u >= 0xDC80 && u <= 0xDCFF) {
      o[k++] = static_cast<char>(u - kEscapeBase);  // an undecodable byte
      ++i;
      continue;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      cp = 0xFFFD;
    }
    const size_t length = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    if (k + length + (n - i - consumed) > limit) {
      limit = k + 3 * (n - i);
      out.resize(limit);
      o = out.data();
    }
    if (length == 2) {
      o[k] = static_cast<char>(0xC0 | cp >> 6);
      o[k + 1] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (length == 3) {
      o[k] = static_cast<char>(0xE0 | cp >> 12);
      o[k + 1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      o[k + 2] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      o[k] = static_cast<char>(0xF0 | cp >> 18);
      o[k + 1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      o[k + 2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      o[k + 3] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    k += length;
    i += consumed;
  }
  out.resize(k);
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  const unsigned char* const p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      i += detail::AsciiPrefix(bytes.data() + i, n - i);
      continue;
    }
    char32_t cp;
    const int length = SequenceAt(p + i, n - i, &cp);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace kovra
