// Code page codec throughput on 1 MB pages: pure ASCII markup and markup with
// Chinese text, decoded from and encoded to code page 936 and UTF-8. Bytes
// processed count the 8-bit form in both directions.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/CodePage.h"

namespace {

constexpr size_t kPageSize = 1 << 20;

// Markup only: tags, attributes, links, short English text.
const std::string& AsciiPage() {
  static const std::string page = [] {
    std::string out;
    for (unsigned i = 0; out.size() < kPageSize; ++i) {
      out += "<div class=\"item\" id=\"n" + std::to_string(i) +
             "\"><a href=\"https://www.example.com/news/" + std::to_string(i * 7919 % 100000) +
             ".html\" target=\"_blank\">Headline number " + std::to_string(i) +
             "</a><span class=\"date\">2024-05-17</span></div>\r\n";
    }
    out.resize(kPageSize);
    return out;
  }();
  return page;
}

// Markup around runs of Chinese text (GB2312 hanzi), with digits and
// punctuation inside the runs, as on a Chinese news page.
const std::string& MixedPage() {
  static const std::string page = [] {
    std::string out;
    uint32_t seed = 12345;
    auto next = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return seed >> 8;
    };
    for (unsigned i = 0; out.size() < kPageSize; ++i) {
      out += "<li><a href=\"/article/" + std::to_string(i) + ".htm\">";
      const unsigned run = 8 + next() % 30;
      for (unsigned j = 0; j < run; ++j) {
        if (next() % 12 == 0) {
          out += "\xA3\xAC";  // fullwidth comma
        } else if (next() % 20 == 0) {
          out += std::to_string(next() % 2024);
        } else {
          out += static_cast<char>(0xB0 + next() % 40);
          out += static_cast<char>(0xA1 + next() % 94);
        }
      }
      out += "</a></li>\r\n";
    }
    // Cut on a character boundary: drop a trailing lone lead byte.
    out.resize(kPageSize);
    if (kovra::TCodePage::Cp936().Decode(out).back() >= 0xDC00) out.pop_back();
    return out;
  }();
  return page;
}

void RunDecode(benchmark::State& state, const std::string& page) {
  const kovra::TCodePage& cp = kovra::TCodePage::Cp936();
  for (auto _ : state) {
    std::u16string wide = cp.Decode(page);
    benchmark::DoNotOptimize(wide.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void RunEncode(benchmark::State& state, const std::string& page) {
  const kovra::TCodePage& cp = kovra::TCodePage::Cp936();
  const std::u16string wide = cp.Decode(page);
  for (auto _ : state) {
    std::string bytes = cp.Encode(wide);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_Cp936DecodeAscii(benchmark::State& state) {
  RunDecode(state, AsciiPage());
}
void BM_Cp936DecodeMixed(benchmark::State& state) {
  RunDecode(state, MixedPage());
}
void BM_Cp936EncodeAscii(benchmark::State& state) {
  RunEncode(state, AsciiPage());
}
void BM_Cp936EncodeMixed(benchmark::State& state) {
  RunEncode(state, MixedPage());
}

void BM_Utf8DecodeMixed(benchmark::State& state) {
  const std::string page = kovra::EncodeUtf8(kovra::TCodePage::Cp936().Decode(MixedPage()));
  for (auto _ : state) {
    std::u16string wide = kovra::DecodeUtf8(page);
    benchmark::DoNotOptimize(wide.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_Utf8EncodeMixed(benchmark::State& state) {
  const std::u16string wide = kovra::TCodePage::Cp936().Decode(MixedPage());
  const size_t size = kovra::EncodeUtf8(wide).size();
  for (auto _ : state) {
    std::string bytes = kovra::EncodeUtf8(wide);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

BENCHMARK(BM_Cp936DecodeAscii);
BENCHMARK(BM_Cp936DecodeMixed);
BENCHMARK(BM_Cp936EncodeAscii);
BENCHMARK(BM_Cp936EncodeMixed);
BENCHMARK(BM_Utf8DecodeMixed);
BENCHMARK(BM_Utf8EncodeMixed);

}  // namespace

BENCHMARK_MAIN();
