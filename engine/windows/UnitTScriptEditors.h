// TScriptEditors: the registry of script manager windows. It keeps every
// window the engine opened, in order of creation (closing one only hides it),
// and decides whether a request to edit a page's script reuses an open
// window, opens a new one filled from the library, or sets one up for a new
// script.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "library/CoordinationController.h"

namespace kovra {

class TFrmScriptEditor;
class TScriptLibrary;

class TScriptEditors final : public TEditorRegistry {
 public:
  explicit TScriptEditors(TScriptLibrary& library);
  ~TScriptEditors() override;

  // True with the window's script ID for the first window, in creation
  // order and hidden ones included, whose URL-match list matches the page
  // (its first 250 bytes).
  bool ScriptIdForUrl(std::string_view url, uint32_t& script_id) override;
  // Reuses the first matching window for a non-zero script ID, else opens
  // a window for the library entry with that ID, else one for a new script.
  // Does nothing where no window can be shown.
  void OpenEditorForUrl(std::string_view url, std::string_view filter_url,
                        uint32_t script_id) override;

  // True when window i's URL-match list matches the (cut) address.
  bool EditorMatchesUrl(int32_t i, std::string_view cut_url) const;
  // Creates a window and appends it; its index.
  int32_t AddEditor();

  int32_t FCount() const { return static_cast<int32_t>(FWindows.size()); }
  TFrmScriptEditor* Window(int32_t i) const { return FWindows[static_cast<size_t>(i)].get(); }

 private:
  TScriptLibrary& library_;
  std::vector<std::unique_ptr<TFrmScriptEditor>> FWindows;
};

}  // namespace kovra
