#include "library/ScriptParsersPageRun.h"

#include <cstdint>
#include <cstring>

#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

constexpr size_t kMaxNames = 255;

}  // namespace

bool CallbackPresent(const void* code) {
  return reinterpret_cast<uintptr_t>(code) >= KOVRA_CALLBACK_THRESHOLD;
}

std::string PageReport(std::string_view result) {
  std::string report(result);
  report += "<Br><font color=";
  report += result.empty() ? "Red" : "White";
  // The exclamation mark is the full-width one, as code page 936 stores it.
  report += ">Script Finished\xA3\xA1&nbsp&nbsp&nbsp This message is come from KovraEngine.ScriptParsers</font>";
  return report;
}

TScriptDeclarations ReadPageDeclarations(std::u16string_view declarations) {
  static constexpr std::u16string_view kTypes[] = {u":string;", u":integer;"};
  TScriptDeclarations out;
  const std::u16string text = LowerAscii(RemoveChars(declarations, {u' ', u'\t', u'\n', u'\r'}));
  TSplitResult split;
  if (!SplitText(text, kTypes, nullptr, {}, {}, {}, split)) return out;
  for (size_t i = 0; i < split.parts.size(); ++i) {
    // An empty name ends the interpreter's list there, as a padded list does.
    if (split.separators[i] == kTypes[0]) {
      if (out.str_names.size() < kMaxNames) out.str_names.emplace_back(split.parts[i]);
    } else if (split.separators[i] == kTypes[1]) {
      if (out.int_names.size() < kMaxNames) out.int_names.emplace_back(split.parts[i]);
    }
  }
  return out;
}

void TScriptParser::RunScript(const char* name, const TRunRequest* request,
                              KovraOptionsCallback options_code, void* options_data) {
  info_ = TRunInfo{};
  info_.NeedResult = 1;
  if (request == nullptr) return;
  info_.RequestId = request->RequestId;

  TScriptRunInfo script;
  library_.GetScriptByName(name == nullptr ? std::string_view() : std::string_view(name), script);
  const std::string_view page_url =
      request->PageUrl == nullptr ? std::string_view() : std::string_view(request->PageUrl);
  info_.NeedResult = script.need_result ? 1 : 0;
  info_.ResultToNewPage = script.result_to_new_page ? 1 : 0;
  if (CallbackPresent(reinterpret_cast<const void*>(options_code))) options_code(options_data, &info_);

  const KovraReportCallback report_code = info_.ReportCode;
  void* const report_data = info_.ReportData;
  std::string result;
  if (!script.body.empty()) {
    const TScriptDeclarations names = ReadPageDeclarations(script.declarations);
    TParsers parser(names.int_names, names.str_names, ToWide(page_url), env_);
    result = ToNarrow(parser.Run(script.body));
  }
  const std::string report = PageReport(result);
  if (CallbackPresent(reinterpret_cast<const void*>(report_code))) {
    report_code(report_data, report.c_str(), info_.RequestId);
  }
}

}  // namespace kovra
