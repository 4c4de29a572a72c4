// The eight exports of libKovraEngine.so and the engine's start at load.
// Each body catches everything: no exception crosses into the host, which
// then gets the answer for "nothing found".
#include <dlfcn.h>

#include "KovraEngine.h"
#include "interpreter/ScriptParsers.h"
#include "library/CoordinationController.h"
#include "library/ScriptParsersPageRun.h"
#include "library/UnitHostString.h"
#include "platform/CodePage.h"
#include "platform/ModuleFolder.h"
#if defined(KOVRA_WITH_HTTP)
#include "http/CurlHttpClient.h"
#endif
#if defined(KOVRA_WITH_WINDOWS)
#include "windows/KovraWindows.h"
#endif

using kovra::HostView;
using kovra::NewHostString;

namespace {

kovra::TCC* g_tcc = nullptr;

// A host may offer "int32_t KovraHostStopRequested(void)" among its own
// exported symbols; script runs then stop between statements once it
// answers non-zero (KovraEdit's Stop button does this).
using TStopProbe = int32_t (*)();
TStopProbe g_host_stop = nullptr;

// The one TCC is made when the library is loaded, before any export can run:
// the library reads the black list and the script files of the Scripts
// folder beside this module.
__attribute__((constructor)) void LoadEngine() {
  g_host_stop = reinterpret_cast<TStopProbe>(dlsym(RTLD_DEFAULT, "KovraHostStopRequested"));
  try {
    g_tcc = new kovra::TCC(kovra::ModuleFolder(reinterpret_cast<const void*>(&LoadEngine)));
#if defined(KOVRA_WITH_HTTP)
    g_tcc->SetHttpFactory(&kovra::MakeCurlHttpClient);
#endif
#if defined(KOVRA_WITH_WINDOWS)
    // The windows: script manager registry, intercept dialog, message boxes.
    // None of them touches Qt before a window is needed.
    g_tcc->SetEditors(kovra::MakeScriptEditors(g_tcc->Library()));
    g_tcc->SetAsker(kovra::MakeInterceptAsker(g_tcc->Library(), g_tcc->Editors()));
    g_tcc->SetPrompt(kovra::MakeMessageBoxPrompt());
#endif
  } catch (...) {
    g_tcc = nullptr;  // out of memory at load: every export answers "nothing found"
  }
}

kovra::TRunEnvironment RunEnvironment() {
  kovra::TRunEnvironment env = g_tcc != nullptr ? g_tcc->RunEnvironment() : kovra::TRunEnvironment{};
  env.stop_probe = g_host_stop;
  return env;
}

}  // namespace

extern "C" {

KOVRA_API void KOVRA_STDCALL ScriptDeData(char** result, const char* script, const char* data) {
  if (result == nullptr) return;
  *result = nullptr;
  try {
    const std::u16string wide_script = kovra::ToWide(HostView(script));
    const kovra::TRunOutcome out =
        kovra::RunScriptText(wide_script, kovra::ToWide(HostView(data)), RunEnvironment());
    *result = NewHostString(kovra::ToNarrow(out.text));
  } catch (...) {
    *result = nullptr;
  }
}

KOVRA_API int32_t KOVRA_STDCALL isInFilters(const char* url, TFilterCheck* rec, int32_t ask) {
  if (rec == nullptr || g_tcc == nullptr) return 0;
  try {
    return kovra::IsInFilters(HostView(url), *rec, ask, g_tcc->Asker());
  } catch (...) {
    return 0;
  }
}

KOVRA_API int32_t KOVRA_STDCALL isInBlacklist(const char* url) {
  if (g_tcc == nullptr) return 0;
  try {
    return g_tcc->Library().IsInBlackList(HostView(url)) ? -1 : 0;
  } catch (...) {
    return 0;
  }
}

KOVRA_API void KOVRA_STDCALL SafeDeDomain(const char** p, const char* url) {
  if (p == nullptr) return;
  try {
    *p = kovra::SafeDeDomain(HostView(url));
  } catch (...) {
    *p = "error";
  }
}

KOVRA_API void KOVRA_STDCALL GetFiltersFromParentUrl(TParentFilters* rec) {
  if (rec == nullptr || g_tcc == nullptr) return;
  try {
    kovra::GetFiltersFromParentUrl(g_tcc->Library(), g_tcc->Prompt(), *rec);
  } catch (...) {
  }
}

KOVRA_API void KOVRA_STDCALL ViewEditor(const char* url, int32_t script_id) {
  if (g_tcc == nullptr) return;
  try {
    g_tcc->Editors().OpenEditorForUrl(HostView(url), "about:blank", static_cast<uint32_t>(script_id));
  } catch (...) {
  }
}

KOVRA_API void KOVRA_STDCALL GetAutoScript_Name(char** name, const char* url) {
  if (name == nullptr) return;
  *name = nullptr;
  if (g_tcc == nullptr) return;
  try {
    *name = NewHostString(g_tcc->Library().GetAutoScriptName(HostView(url)));
  } catch (...) {
    *name = nullptr;
  }
}

KOVRA_API void KOVRA_STDCALL RunScript(const char* name, const TRunRequest* request,
                                       KovraOptionsCallback options_code, void* options_data) {
  if (g_tcc == nullptr) return;
  try {
    kovra::TScriptParser(g_tcc->Library(), RunEnvironment()).RunScript(name, request, options_code, options_data);
  } catch (...) {
  }
}

}  // extern "C"
