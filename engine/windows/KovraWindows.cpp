#include "windows/KovraWindows.h"

#include "library/UnitFormUrlFilterMsg.h"
#include "windows/MessageBoxPrompt.h"
#include "windows/UnitFormUrlFilterMsgWindow.h"
#include "windows/UnitTScriptEditors.h"

namespace kovra {

std::unique_ptr<TEditorRegistry> MakeScriptEditors(TScriptLibrary& library) {
  return std::make_unique<TScriptEditors>(library);
}

std::unique_ptr<TAskUser> MakeInterceptAsker(TScriptLibrary& library, TEditorRegistry& editors) {
  return std::make_unique<TInterceptAsker>(
      editors, [&library, &editors](const TInterceptQuestion& question) {
        return ShowInterceptDialog(library, editors, question);
      });
}

std::unique_ptr<TPrompt> MakeMessageBoxPrompt() {
  return std::make_unique<TMessageBoxPrompt>();
}

}  // namespace kovra
