// libFuzzer target: the ScriptDeData road with arbitrary bytes as script and
// data. The input is split at its first NUL pair; the run gets a step budget
// so that endless loops stop like a front end's stop request would.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "interpreter/ScriptParsers.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const size_t cut = input.find(std::string_view("\0\0", 2));
  const std::string_view script = input.substr(0, cut);
  const std::string_view data = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 2);

  kovra::TRunEnvironment env;
  env.statement_budget = 20000;
  const kovra::TRunOutcome outcome = kovra::RunScriptText(kovra::ToWide(script), kovra::ToWide(data), env);
  const std::string narrow = kovra::ToNarrow(outcome.text);
  // The round trip of untouched data is exact: a body-less script returns it.
  if (!outcome.failed && kovra::ToWide(script).find(u"[") == std::u16string::npos &&
      narrow != data) {
    __builtin_trap();
  }
  return 0;
}
