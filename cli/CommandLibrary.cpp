#include "CommandLibrary.h"

#include <cstring>
#include <iostream>

#include "CliSupport.h"
#include "TerminalPrompt.h"
#if defined(KOVRA_WITH_HTTP)
#include "http/CurlHttpClient.h"
#endif
#include "library/ScriptParsersPageRun.h"
#include "library/UnitEngine_urlFilterFn.h"
#include "library/UnitHostString.h"
#include "platform/CodePage.h"

namespace kovra::cli {
namespace {

// The command's texts are UTF-8; the library's are in the engine code page.
std::string ToEngine(const std::string& utf8) { return ToNarrow(DecodeUtf8(utf8)); }
std::string FromEngine(std::string_view bytes) { return EncodeUtf8(ToWide(bytes)); }

void ExpectArguments(const std::vector<std::string>& args, size_t count, const char* usage) {
  if (args.size() != count) throw TUsageError(std::string("usage: ") + usage);
  for (const std::string& a : args) {
    if (a.starts_with("--")) throw TUsageError("unknown option " + a);
  }
}

struct TPageCallbacks {
  TPageRun* run;
};

void OnReport(void* data, const char* report, uint32_t) {
  static_cast<TPageCallbacks*>(data)->run->report = report;
}

void OnOptions(void* data, TRunInfo* info) {
  TPageRun* run = static_cast<TPageCallbacks*>(data)->run;
  run->need_result = info->NeedResult != 0;
  run->result_to_new_page = info->ResultToNewPage != 0;
  info->ReportCode = &OnReport;
  info->ReportData = data;
}

// Host strings for a filter record, kept alive with it.
class TRecordStrings {
 public:
  const char* Keep(char* engine_string) {
    if (engine_string != nullptr) owned_.push_back(engine_string);
    return engine_string;
  }
  const char* const* List(char* const* items) {
    std::vector<const char*>& list = lists_.emplace_back(1);
    for (int i = 0; i < 255 && items[i] != nullptr; ++i) list.push_back(Keep(items[i]));
    const int32_t count = static_cast<int32_t>(list.size() - 1);
    std::memcpy(reinterpret_cast<char*>(list.data() + 1) - 4, &count, sizeof count);
    return list.data() + 1;
  }
  ~TRecordStrings() {
    for (char* s : owned_) KovraFreeHostString(s);
  }

 private:
  std::vector<char*> owned_;
  std::vector<std::vector<const char*>> lists_;
};

}  // namespace

std::unique_ptr<TScriptLibrary> OpenLibrary(std::vector<std::string>& args) {
  std::string folder = "Scripts";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--scripts") continue;
    if (i + 1 >= args.size()) throw TUsageError("--scripts needs a folder");
    folder = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    break;
  }
  return TScriptLibrary::FromScriptsFolder(folder);
}

TRunEnvironment CommandEnvironment() {
  static TTerminalPrompt prompt;
  TRunEnvironment env;
  env.prompt = &prompt;
#if defined(KOVRA_WITH_HTTP)
  env.http_factory = &MakeCurlHttpClient;
#endif
  return env;
}

TPageRun RunPage(const TScriptLibrary& library, const std::string& url, const TRunEnvironment& env) {
  TPageRun run;
  run.name = library.GetAutoScriptName(url);
  if (run.name.empty()) return run;
  TPageCallbacks callbacks{&run};
  TRunRequest request{};
  request.RequestId = 1;
  request.PageUrl = url.c_str();
  TScriptParser(library, env).RunScript(run.name.c_str(), &request, &OnOptions, &callbacks);
  return run;
}

std::string ExplainNavigation(const TScriptLibrary& library, const std::string& parent,
                              const std::string& target) {
  TRecordStrings strings;
  TParentFilters filters{};
  const std::unique_ptr<char, void (*)(char*)> parent_string(NewHostString(parent), KovraFreeHostString);
  filters.ParentUrl = parent_string.get();
  TNoPrompt prompt;
  GetFiltersFromParentUrl(library, prompt, filters);
  TFilterCheck check{};
  check.Found = filters.Found;
  check.ParentUrl = filters.ParentUrl;
  check.ExUrl = strings.Keep(filters.ExUrl);
  check.Allow = strings.List(filters.Allow);
  check.Filter = strings.List(filters.Filter);
  check.ScriptId = filters.ScriptId;
  TNoAskUser asker;
  TFilterReason why;
  const int32_t answer = IsInFilters(target, check, 1, asker, &why);

  std::string rules = "no script covers the page";
  if (check.Found != 0) {
    const TScripts* e = library.Entry(check.ScriptId);
    std::string_view name = e != nullptr ? std::string_view(e->Name) : std::string_view();
    while (!name.empty() && (name.front() == '\t' || name.front() == ' ')) name.remove_prefix(1);
    rules = "rules of script " + std::to_string(check.ScriptId) + " (" + FromEngine(name) + ")";
  }
  std::string line;
  switch (why.kind) {
    case TFilterReason::Kind::kNotANavigation:
      line = "allow: not a navigation to a page";
      break;
    case TFilterReason::Kind::kAllAllow:
      line = "allow: [ExUrl] All Allow, " + rules;
      break;
    case TFilterReason::Kind::kAllFilter:
      line = "filter: [ExUrl] All Filter, another site, " + rules;
      break;
    case TFilterReason::Kind::kSameSiteExUrl:
      line = "allow: [ExUrl] All Filter, same site, " + rules;
      break;
    case TFilterReason::Kind::kAllowPattern:
      line = "allow: [Allow] " + FromEngine(why.pattern) + ", " + rules;
      break;
    case TFilterReason::Kind::kFilterPattern:
      line = "filter: [Filter] " + FromEngine(why.pattern) + ", " + rules;
      break;
    case TFilterReason::Kind::kAsked:
      line = "would ask: no rule decides a jump to another site (" + rules + ")";
      break;
    case TFilterReason::Kind::kNoRule:
      line = "allow: no rule decides and the target is on the same site (" + rules + ")";
      break;
  }
  (void)answer;
  if (library.IsInBlackList(target)) line += "; the target is on the black list";
  return line;
}

int CommandWhich(std::vector<std::string> args) {
  const auto library = OpenLibrary(args);
  ExpectArguments(args, 1, "kovra which URL [--scripts DIR]");
  const std::string name = library->GetAutoScriptName(ToEngine(args[0]));
  if (name.empty()) {
    std::cerr << "no script serves " << args[0] << "\n";
    return 1;
  }
  std::cout << FromEngine(name) << "\n";
  return 0;
}

int CommandPage(std::vector<std::string> args) {
  const auto library = OpenLibrary(args);
  ExpectArguments(args, 1, "kovra page URL [--scripts DIR]");
  const TPageRun run = RunPage(*library, ToEngine(args[0]), CommandEnvironment());
  if (run.name.empty()) {
    std::cerr << "no script serves " << args[0] << "\n";
    return 1;
  }
  std::cout << "script: " << FromEngine(run.name) << "\nNeedResult: " << run.need_result
            << "\nResultToNewPage: " << run.result_to_new_page << "\nreport:\n"
            << FromEngine(run.report) << "\n";
  return 0;
}

int CommandCheck(std::vector<std::string> args) {
  const auto library = OpenLibrary(args);
  ExpectArguments(args, 2, "kovra check PARENT TARGET [--scripts DIR]");
  std::cout << ExplainNavigation(*library, ToEngine(args[0]), ToEngine(args[1])) << "\n";
  return 0;
}

int CommandDomain(std::vector<std::string> args) {
  ExpectArguments(args, 1, "kovra domain URL");
  std::cout << FromEngine(SafeDeDomain(ToEngine(args[0]))) << "\n";
  return 0;
}

}  // namespace kovra::cli
