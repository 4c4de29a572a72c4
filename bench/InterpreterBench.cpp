// Script runs over generated pages: the link walk (a while loop collecting
// "href TAB text" lines), trimhtm of a whole page, and the ScriptDeData round
// trip (decode, run, encode) of a page.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "PageGenerator.h"
#include "interpreter/ScriptParsers.h"
#include "platform/CodePage.h"

namespace {

std::u16string LoadScript(const char* name) {
  std::ifstream in(std::string(KOVRA_BENCH_SCRIPTS) + "/" + name, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return kovra::ToWide(buffer.str());
}

const std::u16string& Page(size_t megabytes) {
  static std::u16string pages[11];
  std::u16string& page = pages[megabytes];
  if (page.empty()) page = kovra::bench::MakePage(megabytes << 20);
  return page;
}

void BM_LinkWalk(benchmark::State& state) {
  const std::u16string script = LoadScript("link_walk.txt");
  const std::u16string& page = Page(static_cast<size_t>(state.range(0)));
  size_t lines = 0;
  for (auto _ : state) {
    const kovra::TRunOutcome out = kovra::RunScriptText(script, page);
    lines = static_cast<size_t>(std::count(out.text.begin(), out.text.end(), u'\n'));
    benchmark::DoNotOptimize(out.text.data());
  }
  state.counters["links"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size() * 2));
}
BENCHMARK(BM_LinkWalk)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_TrimHtm(benchmark::State& state) {
  const std::u16string script = u"[script]result := trimhtm(result);[/script]";
  const std::u16string& page = Page(1);
  for (auto _ : state) {
    const kovra::TRunOutcome out = kovra::RunScriptText(script, page);
    benchmark::DoNotOptimize(out.text.data());
  }
}
BENCHMARK(BM_TrimHtm)->Unit(benchmark::kMillisecond);

// What ScriptDeData does with a page and a script that leaves it as it is.
void BM_ScriptDeDataRoundTrip(benchmark::State& state) {
  const std::string narrow = kovra::ToNarrow(Page(1));
  const std::u16string script = u"[script][/script]";
  for (auto _ : state) {
    const kovra::TRunOutcome out = kovra::RunScriptText(script, kovra::ToWide(narrow));
    const std::string back = kovra::ToNarrow(out.text);
    benchmark::DoNotOptimize(back.data());
  }
}
BENCHMARK(BM_ScriptDeDataRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
