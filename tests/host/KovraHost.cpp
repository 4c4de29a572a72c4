// kovra_host: a host program that loads libKovraEngine.so with dlopen from a
// folder of its own (which holds the engine's Scripts folder) and calls the
// exports exactly as a browser would: host strings in, host strings and
// records out, callbacks in the engine's register convention.
//
//   kovra_host ENGINE.so COMMAND ARGS...
//     which URL              GetAutoScript_Name
//     page NAME URL          RunScript, printing the options and the report
//     filters PARENT         GetFiltersFromParentUrl
//     check PARENT TARGET [ASK]   GetFiltersFromParentUrl, then isInFilters
//     blacklisted URL        isInBlacklist
//     domain URL             SafeDeDomain
//     run SCRIPT DATA        ScriptDeData over two files
//     view URL ID            ViewEditor
//     session STEP [/ STEP...]    several of view, check and blacklisted in
//                            one process (the windows they open stay open)
//     conventions            checks the calling conventions
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "KovraEngine.h"

namespace {

struct TEngine {
  decltype(&::ScriptDeData) ScriptDeData;
  decltype(&::isInFilters) isInFilters;
  decltype(&::isInBlacklist) isInBlacklist;
  decltype(&::SafeDeDomain) SafeDeDomain;
  decltype(&::GetFiltersFromParentUrl) GetFiltersFromParentUrl;
  decltype(&::ViewEditor) ViewEditor;
  decltype(&::GetAutoScript_Name) GetAutoScript_Name;
  decltype(&::RunScript) RunScript;
};

template <class F>
void Resolve(void* lib, const char* name, F& out) {
  out = reinterpret_cast<F>(dlsym(lib, name));
  if (out == nullptr) {
    std::fprintf(stderr, "kovra_host: export %s missing\n", name);
    std::exit(3);
  }
}

// Host strings the host owns, as its runtime lays them out: reference count
// -1 (a constant), length, bytes, NUL.
class THostStrings {
 public:
  const char* Make(const std::string& text) {
    if (text.empty()) return nullptr;
    std::string& block = blocks_.emplace_back();
    const int32_t refcount = -1;
    const int32_t length = static_cast<int32_t>(text.size());
    block.append(reinterpret_cast<const char*>(&refcount), 4);
    block.append(reinterpret_cast<const char*>(&length), 4);
    block.append(text);
    block.push_back('\0');
    return block.data() + 8;
  }
  // A counted list of host strings.
  const char* const* List(const std::vector<std::string>& items) {
    std::vector<const char*>& list = lists_.emplace_back(items.size() + 1);
    for (size_t i = 0; i < items.size(); ++i) list[i + 1] = Make(items[i]);
    // The count sits in the 4 bytes just before the first element.
    const int32_t count = static_cast<int32_t>(items.size());
    std::memcpy(reinterpret_cast<char*>(list.data() + 1) - 4, &count, sizeof count);
    return list.data() + 1;
  }

 private:
  // Deques: a short text lives inside its string object, which must not move.
  std::deque<std::string> blocks_;
  std::deque<std::vector<const char*>> lists_;
};

std::string Text(const char* host_string) {
  return host_string == nullptr ? std::string() : std::string(host_string, KovraHostStringLength(host_string));
}

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---- Callbacks ---------------------------------------------------------------

struct TRunLog {
  int options_calls = 0;
  int report_calls = 0;
  std::string report;
  uint32_t request_id = 0;
  bool install_report = true;
};

void KOVRA_REGCALL OnReport(void* data, const char* report, uint32_t request_id) {
  TRunLog* log = static_cast<TRunLog*>(data);
  ++log->report_calls;
  log->report = report;
  log->request_id = request_id;
}

void KOVRA_REGCALL OnOptions(void* data, TRunInfo* info) {
  TRunLog* log = static_cast<TRunLog*>(data);
  ++log->options_calls;
  std::printf("options: NeedResult=%d ResultToNewPage=%d RequestId=%u\n", info->NeedResult,
              info->ResultToNewPage, info->RequestId);
  if (log->install_report) {
    info->ReportCode = &OnReport;
    info->ReportData = log;
  }
}

int Page(const TEngine& e, const char* name, const char* url) {
  TRunLog log;
  TRunRequest request{};
  request.RequestId = 4242;
  request.PageUrl = url;
  e.RunScript(name, &request, &OnOptions, &log);
  std::printf("report (%d, id %u): %s\n", log.report_calls, log.request_id, log.report.c_str());
  return 0;
}

void PrintFilters(const TParentFilters& rec) {
  std::printf("Found=%d HasRawScript=%d ScriptId=%u ExUrl=%s\n", rec.Found, rec.HasRawScript,
              rec.ScriptId, Text(rec.ExUrl).c_str());
  for (int i = 0; i < 255 && rec.Allow[i] != nullptr; ++i) std::printf("Allow[%d]=%s\n", i + 1, Text(rec.Allow[i]).c_str());
  for (int i = 0; i < 255 && rec.Filter[i] != nullptr; ++i) std::printf("Filter[%d]=%s\n", i + 1, Text(rec.Filter[i]).c_str());
}

// The strings the engine wrote into the record belong to the host.
void ReleaseFilters(TParentFilters& rec) {
  KovraFreeHostString(rec.ExUrl);
  for (char* s : rec.Allow) KovraFreeHostString(s);
  for (char* s : rec.Filter) KovraFreeHostString(s);
}

void CollectList(char* const* items, std::vector<std::string>& out) {
  for (int i = 0; i < 255 && items[i] != nullptr; ++i) out.push_back(Text(items[i]));
}

int Check(const TEngine& e, const char* parent, const char* target, int32_t ask) {
  THostStrings strings;
  TParentFilters filters{};
  filters.ParentUrl = strings.Make(parent);
  e.GetFiltersFromParentUrl(&filters);
  std::vector<std::string> allow, filter;
  CollectList(filters.Allow, allow);
  CollectList(filters.Filter, filter);
  TFilterCheck check{};
  check.Found = filters.Found;
  check.ParentUrl = filters.ParentUrl;
  check.ExUrl = filters.ExUrl;
  check.Allow = strings.List(allow);
  check.Filter = strings.List(filter);
  check.ScriptId = filters.ScriptId;
  const int32_t r = e.isInFilters(strings.Make(target), &check, ask);
  std::printf("isInFilters=%d Asked=%d ScriptId=%u\n", r, check.Asked, check.ScriptId);
  ReleaseFilters(filters);
  return 0;
}

// The steps of "session", separated by "/": view URL ID, check PARENT
// TARGET ASK, blacklisted URL.
int Session(const TEngine& e, int argc, char** argv, int first) {
  THostStrings strings;
  for (int i = first; i < argc;) {
    int end = i;
    while (end < argc && std::strcmp(argv[end], "/") != 0) ++end;
    auto arg = [&](int k) -> const char* { return i + k < end ? argv[i + k] : ""; };
    const std::string step = arg(0);
    if (step == "view") {
      e.ViewEditor(strings.Make(arg(1)), std::atoi(arg(2)));
      std::printf("view done\n");
    } else if (step == "check") {
      Check(e, arg(1), arg(2), std::atoi(arg(3)));
    } else if (step == "blacklisted") {
      std::printf("%d\n", e.isInBlacklist(strings.Make(arg(1))));
    } else {
      std::fprintf(stderr, "kovra_host: unknown session step %s\n", step.c_str());
      return 2;
    }
    i = end + 1;
  }
  return 0;
}

#if defined(__i386__)
// ---- The 32-bit conventions, checked at the machine level --------------------

// The callbacks' registers as the engine set them.
extern "C" {
uint32_t g_options_regs[3];
uint32_t g_report_regs[3];
int g_report_called;
char g_report_text[256];
// The report text is valid only during the call: keep a copy.
void RecordReport(const char* text) { std::snprintf(g_report_text, sizeof g_report_text, "%s", text); }
}
// options(EAX = data, EDX = TRunInfo*): records the registers and installs
// the report stub with data 0x1234.
extern "C" void OptionsStub();
extern "C" void ReportStub();
asm(R"(
  .text
  .globl OptionsStub
OptionsStub:
  movl %eax, g_options_regs
  movl %edx, g_options_regs+4
  movl %ecx, g_options_regs+8
  movl $ReportStub, 24(%edx)
  movl $0x1234, 28(%edx)
  ret
  .globl ReportStub
ReportStub:
  movl %eax, g_report_regs
  movl %edx, g_report_regs+4
  movl %ecx, g_report_regs+8
  incl g_report_called
  pushl %edx
  call RecordReport
  addl $4, %esp
  ret
)");

// Calls a stdcall export with n stack arguments and returns how far ESP
// moved across the call (0 when the callee removed its arguments).
extern "C" int32_t CallMeasuringStack(void* fn, int n, const uint32_t* args);
asm(R"(
  .text
  .globl CallMeasuringStack
CallMeasuringStack:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  pushl %edi
  movl 8(%ebp), %eax
  movl 12(%ebp), %ecx
  movl 16(%ebp), %esi
  movl %esp, %edi
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%esi,%ecx,4)
  jmp 1b
2:
  call *%eax
  movl %edi, %eax
  subl %esp, %eax
  movl %edi, %esp
  popl %edi
  popl %esi
  popl %ebp
  ret
)");

int Conventions(void* lib, const TEngine& e) {
  int failures = 0;
  auto expect = [&](bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) ++failures;
  };
  THostStrings strings;
  // stdcall: the callee removes its arguments.
  const uint32_t args1[] = {reinterpret_cast<uintptr_t>(strings.Make("http://www.example.com/"))};
  expect(CallMeasuringStack(dlsym(lib, "isInBlacklist"), 1, args1) == 0, "isInBlacklist removes its argument");
  const char* domain = nullptr;
  const uint32_t args2[] = {reinterpret_cast<uintptr_t>(&domain),
                            reinterpret_cast<uintptr_t>(strings.Make("http://www.example.com/"))};
  expect(CallMeasuringStack(dlsym(lib, "SafeDeDomain"), 2, args2) == 0, "SafeDeDomain removes its arguments");
  expect(domain != nullptr && std::strcmp(domain, "example.com") == 0, "SafeDeDomain answers through its out pointer");

  TRunRequest request{};
  request.RequestId = 0xCAFE;
  request.PageUrl = "http://demo.test/";
  void* data = reinterpret_cast<void*>(0x5678);
  const uint32_t args4[] = {reinterpret_cast<uintptr_t>("de_nowage"), reinterpret_cast<uintptr_t>(&request),
                            reinterpret_cast<uintptr_t>(&OptionsStub), reinterpret_cast<uintptr_t>(data)};
  expect(CallMeasuringStack(dlsym(lib, "RunScript"), 4, args4) == 0, "RunScript removes its four arguments");
  expect(g_options_regs[0] == 0x5678, "options callback: data pointer in EAX");
  expect(g_options_regs[1] != 0, "options callback: TRunInfo pointer in EDX");
  expect(g_report_called == 1, "report callback called once");
  expect(g_report_regs[0] == 0x1234, "report callback: ReportData in EAX");
  expect(g_report_regs[1] != 0 && std::strstr(g_report_text, "Script Finished") != nullptr,
         "report callback: report text in EDX");
  expect(g_report_regs[2] == 0xCAFE, "report callback: RequestId in ECX");

  // Below the presence threshold a callback is not called.
  g_report_called = 0;
  std::memset(g_options_regs, 0, sizeof g_options_regs);
  e.RunScript("de_nowage", &request, reinterpret_cast<KovraOptionsCallback>(0xFFFF), data);
  expect(g_options_regs[0] == 0 && g_report_called == 0, "code pointer 0xFFFF counts as absent");
  return failures == 0 ? 0 : 1;
}
#else
int Conventions(void*, const TEngine& e) {
  TRunLog log;
  TRunRequest request{};
  request.RequestId = 7;
  request.PageUrl = "http://demo.test/";
  e.RunScript("de_nowage", &request, &OnOptions, &log);
  const bool ok = log.options_calls == 1 && log.report_calls == 1 && log.request_id == 7;
  std::printf("%s: callbacks called with their arguments\n", ok ? "ok" : "FAILED");
  return ok ? 0 : 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kovra_host ENGINE.so COMMAND ARGS...\n");
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (lib == nullptr) {
    std::fprintf(stderr, "kovra_host: %s\n", dlerror());
    return 3;
  }
  TEngine e{};
  Resolve(lib, "ScriptDeData", e.ScriptDeData);
  Resolve(lib, "isInFilters", e.isInFilters);
  Resolve(lib, "isInBlacklist", e.isInBlacklist);
  Resolve(lib, "SafeDeDomain", e.SafeDeDomain);
  Resolve(lib, "GetFiltersFromParentUrl", e.GetFiltersFromParentUrl);
  Resolve(lib, "ViewEditor", e.ViewEditor);
  Resolve(lib, "GetAutoScript_Name", e.GetAutoScript_Name);
  Resolve(lib, "RunScript", e.RunScript);

  THostStrings strings;
  const std::string command = argv[2];
  auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : ""; };
  if (command == "which") {
    char* name = nullptr;
    e.GetAutoScript_Name(&name, strings.Make(arg(3)));
    std::printf("%s\n", Text(name).c_str());
    KovraFreeHostString(name);
  } else if (command == "page") {
    return Page(e, arg(3), arg(4));
  } else if (command == "filters") {
    TParentFilters rec{};
    rec.ParentUrl = strings.Make(arg(3));
    e.GetFiltersFromParentUrl(&rec);
    PrintFilters(rec);
    ReleaseFilters(rec);
  } else if (command == "check") {
    return Check(e, arg(3), arg(4), argc > 5 ? std::atoi(arg(5)) : 0);
  } else if (command == "blacklisted") {
    std::printf("%d\n", e.isInBlacklist(strings.Make(arg(3))));
  } else if (command == "domain") {
    const char* domain = nullptr;
    e.SafeDeDomain(&domain, strings.Make(arg(3)));
    std::printf("%s\n", domain == nullptr ? "(null)" : domain);
  } else if (command == "run") {
    char* result = nullptr;
    e.ScriptDeData(&result, strings.Make(ReadFile(arg(3))), strings.Make(ReadFile(arg(4))));
    std::fwrite(result, 1, static_cast<size_t>(KovraHostStringLength(result)), stdout);
    KovraFreeHostString(result);
  } else if (command == "view") {
    e.ViewEditor(strings.Make(arg(3)), std::atoi(arg(4)));
    std::printf("view done\n");
  } else if (command == "session") {
    return Session(e, argc, argv, 3);
  } else if (command == "conventions") {
    return Conventions(lib, e);
  } else {
    std::fprintf(stderr, "kovra_host: unknown command %s\n", command.c_str());
    return 2;
  }
  return 0;
}
