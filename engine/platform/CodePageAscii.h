// ASCII runs for the codecs: copying a run of ASCII between 8-bit and wide
// text 16 characters at a time, the path that plain markup and script text
// take. SSE2 where the compiler targets it, a portable word-at-a-time loop
// elsewhere (32-bit x86 without SSE2, other machines).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovra::detail {

// Copies the ASCII run at the start of in[0, n) to out, widened; returns its
// length. out must have room for n units: a block holding the end of the run
// is written whole, the units after the run being garbage for the caller to
// overwrite.
inline size_t WidenAscii(const char* in, size_t n, char16_t* out) {
  size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    const unsigned high_bits = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    if (high_bits != 0) return i + std::countr_zero(high_bits);
  }
#else
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, in + i, 8);
    if (word & 0x8080808080808080u) break;
    for (size_t j = 0; j < 8; ++j) out[i + j] = static_cast<unsigned char>(in[i + j]);
  }
#endif
  for (; i < n && static_cast<unsigned char>(in[i]) < 0x80; ++i) {
    out[i] = static_cast<unsigned char>(in[i]);
  }
  return i;
}

// Copies the run of units below 0x80 at the start of in[0, n) to out as
// bytes; returns its length. out must have room for n bytes, as above.
inline size_t NarrowAscii(const char16_t* in, size_t n, char* out) {
  size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  const __m128i non_ascii = _mm_set1_epi16(static_cast<short>(0xFF80));
  for (; i + 16 <= n; i += 16) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    const __m128i lo_ascii = _mm_cmpeq_epi16(_mm_and_si128(lo, non_ascii), zero);
    const __m128i hi_ascii = _mm_cmpeq_epi16(_mm_and_si128(hi, non_ascii), zero);
    // One bit per unit, set where the unit is ASCII.
    const unsigned ascii_bits =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(lo_ascii, hi_ascii)));
    if (ascii_bits != 0xFFFF) return i + std::countr_one(ascii_bits);
  }
#else
  for (; i + 4 <= n; i += 4) {
    uint64_t word;
    std::memcpy(&word, in + i, 8);
    if (word & 0xFF80FF80FF80FF80u) break;
    for (size_t j = 0; j < 4; ++j) out[i + j] = static_cast<char>(in[i + j]);
  }
#endif
  for (; i < n && in[i] < 0x80; ++i) out[i] = static_cast<char>(in[i]);
  return i;
}

// Length of the ASCII run at the start of in[0, n).
inline size_t AsciiPrefix(const char* in, size_t n) {
  size_t i = 0;
#ifdef __SSE2__
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const unsigned high_bits = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    if (high_bits != 0) return i + std::countr_zero(high_bits);
  }
#else
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, in + i, 8);
    if (word & 0x8080808080808080u) break;
  }
#endif
  while (i < n && static_cast<unsigned char>(in[i]) < 0x80) ++i;
  return i;
}

}  // namespace kovra::detail
