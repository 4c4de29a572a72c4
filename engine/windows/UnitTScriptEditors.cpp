#include "windows/UnitTScriptEditors.h"

#include <QListWidget>
#include <QThread>

#include "library/UnitTScriptLibrary.h"
#include "windows/GuiApplication.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitTScriptEditorsLogic.h"

namespace kovra {

TScriptEditors::TScriptEditors(TScriptLibrary& library) : library_(library) {}

TScriptEditors::~TScriptEditors() = default;

bool TScriptEditors::EditorMatchesUrl(int32_t i, std::string_view cut_url) const {
  const TFrmScriptEditor* w = Window(i);
  return w != nullptr && EntriesMatchUrl(TFrmScriptEditor::ListModel(w->LUrlMatch).items, cut_url);
}

int32_t TScriptEditors::AddEditor() {
  FWindows.push_back(std::make_unique<TFrmScriptEditor>(library_));
  return FCount() - 1;
}

bool TScriptEditors::ScriptIdForUrl(std::string_view url, uint32_t& script_id) {
  // Windows are only read on their own thread.
  if (FWindows.empty() || !GuiReady()) return false;
  const std::string_view cut = CutEditorUrl(url);
  for (int32_t i = 0; i < FCount(); ++i) {
    if (EditorMatchesUrl(i, cut)) {
      script_id = Window(i)->FScriptID;
      return true;
    }
  }
  return false;
}

void TScriptEditors::OpenEditorForUrl(std::string_view url, std::string_view filter_url,
                                      uint32_t script_id) {
  if (!GuiReady()) return;
  const std::string_view cut = CutEditorUrl(url);
  if (script_id != 0) {
    for (int32_t i = 0; i < FCount(); ++i) {
      if (!EditorMatchesUrl(i, cut)) continue;
      TFrmScriptEditor* w = Window(i);
      TEntryList navigate = TFrmScriptEditor::ListModel(w->Ln2);
      // The filter's domain already in the list: the window stays as it is.
      if (!ReuseNavigation(navigate, filter_url)) return;
      TFrmScriptEditor::SetListModel(w->Ln2, navigate);
      if (!w->isVisible()) w->show();
      return;
    }
  }
  const TScripts* entry = script_id != 0 ? library_.Entry(script_id) : nullptr;
  TFrmScriptEditor* w = Window(AddEditor());
  if (entry != nullptr) {
    w->FScriptID = entry->ID;
    w->SetContent(ContentFromLibraryEntry(*entry, filter_url));
  } else {
    w->SetupForUrl(url, filter_url, script_id);
  }
  w->show();
  w->raise();
  w->activateWindow();
}

}  // namespace kovra
