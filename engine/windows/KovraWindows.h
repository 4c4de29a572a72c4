// The engine's windows as the TCC installs them at load: the registry of
// script manager windows, the ask step with the intercept dialog, and the
// message-box prompt. Nothing here touches Qt until a window is needed.
#pragma once

#include <memory>

#include "library/CoordinationController.h"

namespace kovra {

std::unique_ptr<TEditorRegistry> MakeScriptEditors(TScriptLibrary& library);
// The ask step: an open manager window covering the page takes the target;
// otherwise the intercept dialog asks (-1 where none can be shown).
std::unique_ptr<TAskUser> MakeInterceptAsker(TScriptLibrary& library, TEditorRegistry& editors);
// Message boxes: the Yes/No/Cancel question of msg and the OK notice, shown
// on the QApplication's thread whichever thread asks.
std::unique_ptr<TPrompt> MakeMessageBoxPrompt();

}  // namespace kovra
