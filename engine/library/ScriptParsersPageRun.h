// Running a library script for a page (RunScript): the options callback, the
// run with "url" set to the page address, and the report with the HTML
// finish line.
#pragma once

#include <string>
#include <string_view>

#include "KovraEngine.h"
#include "interpreter/ScriptParsers.h"

namespace kovra {

class TScriptLibrary;

// True when a callback's code pointer is at or above the presence threshold.
bool CallbackPresent(const void* code);

// The report handed to the host: the result, then the finish line (white
// when there is a result, red when it is empty).
std::string PageReport(std::string_view result);

// The declarations of a library script: every blank removed, lower-cased,
// split at ":string;" and ":integer;"; at most 255 names of each kind.
TScriptDeclarations ReadPageDeclarations(std::u16string_view declarations);

class TScriptParser {
 public:
  TScriptParser(const TScriptLibrary& library, const TRunEnvironment& env)
      : library_(library), env_(env) {}

  void RunScript(const char* name, const TRunRequest* request, KovraOptionsCallback options_code,
                 void* options_data);

 private:
  const TScriptLibrary& library_;
  TRunEnvironment env_;
  TRunInfo info_{};
};

}  // namespace kovra
