// The script library at scale: 10,000 generated script files with realistic
// match patterns. Loading, GetAutoScript_Name, GetFiltersFromParentUrl and
// isInFilters with ten and with 254 + 254 rules.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "library/UnitEngine_urlFilterFn.h"
#include "library/UnitHostString.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/Prompt.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScripts = 10000;

// Entry i serves one site with one of three pattern shapes.
std::string Pattern(int i) {
  switch (i % 3) {
    case 0: return "*.site" + std::to_string(i) + ".com/news/*";
    case 1: return "shop.site" + std::to_string(i) + ".net/item*.html";
    default: return "www.*.site" + std::to_string(i) + ".org";
  }
}

std::string Host(int i) {
  switch (i % 3) {
    case 0: return "http://www.site" + std::to_string(i) + ".com/news/2026/story.html";
    case 1: return "http://shop.site" + std::to_string(i) + ".net/item42.html";
    default: return "http://www.blog.site" + std::to_string(i) + ".org/post";
  }
}

std::string ScriptFile(int i) {
  const std::string p = Pattern(i);
  std::string rules = "\t[ExUrl]\t\tDefault\r\n";
  for (int k = 0; k < 5; ++k) rules += "\t[Allow]\t\t*.cdn" + std::to_string(k) + ".site" + std::to_string(i) + ".com\r\n";
  for (int k = 0; k < 5; ++k) rules += "\t[Filter]\tads" + std::to_string(k) + ".tracker.test\r\n";
  return "[Name]\r\n\tsite" + std::to_string(i) + "\r\n\r\n\r\n\r\n[Url Match]\r\n\r\n\t[Match it]\t" + p +
         "\r\n\r\n[/Url Match]\r\n\r\n\r\n\r\n[Navigate2 Set]\r\n\r\n" + rules +
         "\r\n[/Navigate2 Set]\r\n\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n  [Header Message]\r\n\r\n"
         "    Name = site" + std::to_string(i) + " ;\r\n    Match Url = '" + p +
         "' ;\r\n\r\n  [/Header Message]\r\n\r\n  [Define Variant]\r\n\r\n    s:string;\r\n\r\n"
         "  [/Define Variant]\r\n\r\n  [Script Content]\r\n\r\n    idHttp( 'Get' , url , result );\r\n"
         "    result := copyqs_htm(result, 'title');\r\n\r\n  [/Script Content]\r\n\r\n[/Script]\r\n";
}

const fs::path& LibraryFolder() {
  static const fs::path folder = [] {
    const fs::path dir = fs::temp_directory_path() / ("kovra_bench_library_" + std::to_string(getpid()));
    fs::create_directories(dir / "Scripts");
    for (int i = 0; i < kScripts; ++i) {
      std::ofstream(dir / "Scripts" / ("site" + std::to_string(i) + ".ks"), std::ios::binary) << ScriptFile(i);
    }
    std::atexit([] { fs::remove_all(fs::temp_directory_path() / ("kovra_bench_library_" + std::to_string(getpid()))); });
    return dir;
  }();
  return folder;
}

kovra::TScriptLibrary& Library() {
  static kovra::TScriptLibrary library(LibraryFolder());
  return library;
}

void BM_LoadLibrary(benchmark::State& state) {
  const fs::path& folder = LibraryFolder();
  for (auto _ : state) {
    kovra::TScriptLibrary library(folder);
    benchmark::DoNotOptimize(library.Count());
    // The pattern index is built at the first lookup: count it with the load.
    benchmark::DoNotOptimize(library.GetAutoScriptName("http://x.test/"));
  }
}
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GetAutoScriptName(benchmark::State& state) {
  kovra::TScriptLibrary& library = Library();
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(library.GetAutoScriptName(Host(i)));
    i = (i + 7919) % kScripts;
  }
}
BENCHMARK(BM_GetAutoScriptName);

// A script saved in the manager window, then the next page lookup: only the
// edited entry's header is parsed again.
void BM_EditThenLookup(benchmark::State& state) {
  kovra::TScriptLibrary library(LibraryFolder());
  library.GetAutoScriptName("http://x.test/");
  int i = 0;
  for (auto _ : state) {
    kovra::TScripts fields = *library.Entry(static_cast<uint32_t>(i + 1));
    library.UpdateEntry(static_cast<uint32_t>(i + 1), std::move(fields));
    benchmark::DoNotOptimize(library.GetAutoScriptName(Host(i)));
    i = (i + 7919) % kScripts;
  }
}
BENCHMARK(BM_EditThenLookup)->Unit(benchmark::kMillisecond);

void BM_GetFiltersFromParentUrl(benchmark::State& state) {
  kovra::TScriptLibrary& library = Library();
  kovra::TNoPrompt prompt;
  std::vector<std::string> urls;
  for (int i = 0; i < 1000; ++i) urls.push_back(Host(i * 10 % kScripts));
  std::vector<char*> parents;
  for (const std::string& u : urls) parents.push_back(kovra::NewHostString(u));
  size_t k = 0;
  for (auto _ : state) {
    TParentFilters rec{};
    rec.ParentUrl = parents[k++ % parents.size()];
    kovra::GetFiltersFromParentUrl(library, prompt, rec);
    benchmark::DoNotOptimize(rec.Found);
    state.PauseTiming();
    KovraFreeHostString(rec.ExUrl);
    for (char* s : rec.Allow) KovraFreeHostString(s);
    for (char* s : rec.Filter) KovraFreeHostString(s);
    state.ResumeTiming();
  }
  for (char* p : parents) KovraFreeHostString(p);
}
BENCHMARK(BM_GetFiltersFromParentUrl);

// A filter record with n allow and n filter patterns, none of which matches.
struct TRecord {
  std::vector<char*> strings;
  std::vector<const char*> allow;
  std::vector<const char*> filter;
  TFilterCheck check{};
  explicit TRecord(int n) {
    auto make = [&](const std::string& s) {
      strings.push_back(kovra::NewHostString(s));
      return strings.back();
    };
    allow.push_back(nullptr);
    filter.push_back(nullptr);
    for (int i = 0; i < n; ++i) {
      allow.push_back(make("*.partner" + std::to_string(i) + ".example.com"));
      filter.push_back(make("ads" + std::to_string(i) + ".*.tracker.test/*"));
    }
    const int32_t count = n;
    std::memcpy(reinterpret_cast<char*>(allow.data() + 1) - 4, &count, 4);
    std::memcpy(reinterpret_cast<char*>(filter.data() + 1) - 4, &count, 4);
    check.Found = -1;
    check.ParentUrl = make("http://www.news.example.com/index.html");
    check.ExUrl = make("default");
    check.Allow = allow.data() + 1;
    check.Filter = filter.data() + 1;
  }
  ~TRecord() {
    for (char* s : strings) KovraFreeHostString(s);
  }
};

void BM_IsInFilters(benchmark::State& state) {
  TRecord record(static_cast<int>(state.range(0)));
  kovra::TNoAskUser asker;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kovra::IsInFilters("http://cdn.elsewhere.test/lib.js", record.check, 0, asker));
  }
}
BENCHMARK(BM_IsInFilters)->Arg(5)->Arg(254);

}  // namespace

BENCHMARK_MAIN();
