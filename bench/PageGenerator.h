// Realistic web pages for the benchmarks, generated in memory.
//
// A page is nested HTML as real portal and shop pages look: a head with meta
// tags, a title, a style block and script blocks, and a body of nested div,
// ul/li and table elements carrying article lists, paragraphs of mixed
// English and Chinese text, inline scripts and price tables. Links are
// written as <a href="...">text</a> (absolute and relative addresses, some
// with query strings), about 5,800 of them per MiB.
//
// Generation is deterministic: a fixed seed and a PRNG of our own, so the
// same size gives the same page on every machine and library.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kovra::bench {

// A page whose UTF-8 form is close to target_bytes long (exactly that long
// whenever the target is larger than the page skeleton, about 6 KB).
std::string MakePageUtf8(size_t target_bytes);

// The same page as MakePageUtf8(target_bytes), as UTF-16 code units. Its
// length in code units is smaller than target_bytes, since every Chinese
// character takes three UTF-8 bytes but one code unit.
std::u16string MakePage(size_t target_bytes);

// Number of occurrences of "<a href=" in the page.
size_t CountLinks(std::u16string_view page);

}  // namespace kovra::bench
