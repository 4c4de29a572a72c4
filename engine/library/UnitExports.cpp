// The exports of libKovraEngine.so. Each body catches everything: no
// exception crosses into the host.
#include "KovraEngine.h"

#include "interpreter/ScriptParsers.h"
#include "library/UnitHostString.h"
#include "platform/CodePage.h"

using kovra::HostView;
using kovra::NewHostString;

extern "C" KOVRA_API void KOVRA_STDCALL ScriptDeData(char** result, const char* script,
                                                     const char* data) {
  if (result == nullptr) return;
  *result = nullptr;
  try {
    const std::u16string wide_script = kovra::ToWide(HostView(script));
    const kovra::TRunOutcome out =
        kovra::RunScriptText(wide_script, kovra::ToWide(HostView(data)));
    *result = NewHostString(kovra::ToNarrow(out.text));
  } catch (...) {
    *result = nullptr;  // out of memory: the empty text
  }
}
