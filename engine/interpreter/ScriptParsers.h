// The script text format shared by every road into the interpreter, and the
// plain run of one script over one data text (what ScriptDeData does).
//
// A script text has an optional declaration block, from the first "var" to
// the first "endvar" after it, and a body between "[script]" and
// "[/script]" (blanks may stand between the markers' characters); both are
// found ignoring the case of A-Z. Everything else is ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "interpreter/UnitParsersProcess.h"

namespace kovra {

struct TScriptDeclarations {
  std::vector<std::u16string> int_names;
  std::vector<std::u16string> str_names;
};

// Reads the declaration block of a lower-cased script text: each
// "name:string;" or "name:integer;" declares one variable; any other text
// (": string;" with a blank, a misspelled type) declares nothing.
TScriptDeclarations ReadDeclarations(std::u16string_view lowered_script);

// The body of the script (a view into `script`), or empty when either marker
// is missing. `lowered_script` is `script` lower-cased.
std::u16string_view FindScriptBody(std::u16string_view script, std::u16string_view lowered_script);

struct TRunOutcome {
  std::u16string text;  // the final value of "result", or the last error's text
  bool failed = false;  // a statement failed (or the run was stopped)
};

// Runs the script with "result" set to data.
TRunOutcome RunScriptText(std::u16string_view script, std::u16string data,
                          const TRunEnvironment& env = {});

}  // namespace kovra
