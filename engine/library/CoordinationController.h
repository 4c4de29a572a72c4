// TCC: the engine's one coordination object, created when libKovraEngine.so
// is loaded. The exports reach the script library, the script manager
// windows and the ways of asking the user through it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "interpreter/UnitParsersProcess.h"
#include "library/UnitEngine_urlFilterFn.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/Prompt.h"

namespace kovra {

// The registry of script manager windows, as the filter and ViewEditor use it.
class TEditorRegistry {
 public:
  virtual ~TEditorRegistry() = default;
  // True, with the window's script ID, when an open manager window's
  // URL-match list covers the page.
  virtual bool ScriptIdForUrl(std::string_view url, uint32_t& script_id) = 0;
  // Shows the manager window for the page (reused or new); a non-blank
  // target becomes a "[Filter]" entry of it.
  virtual void OpenEditorForUrl(std::string_view url, std::string_view target, uint32_t script_id) = 0;
};

// No windows can be shown: nothing is open and nothing opens.
class TNoEditors final : public TEditorRegistry {
 public:
  bool ScriptIdForUrl(std::string_view, uint32_t&) override { return false; }
  void OpenEditorForUrl(std::string_view, std::string_view, uint32_t) override {}
};

class TCC {
 public:
  // The engine's folder holds the Scripts folder.
  explicit TCC(const std::filesystem::path& engine_folder);

  TScriptLibrary& Library() { return *FLibrary; }
  TEditorRegistry& Editors() { return *FEditors; }
  TAskUser& Asker() { return *asker_; }
  TPrompt& Prompt() { return *prompt_; }
  // What script runs started by the exports get: the prompt and the HTTP client.
  TRunEnvironment RunEnvironment() const;

  void SetEditors(std::unique_ptr<TEditorRegistry> editors) { FEditors = std::move(editors); }
  void SetAsker(std::unique_ptr<TAskUser> asker) { asker_ = std::move(asker); }
  void SetPrompt(std::unique_ptr<TPrompt> prompt) { prompt_ = std::move(prompt); }
  void SetHttpFactory(THttpClientFactory factory) { http_factory_ = factory; }

 private:
  std::unique_ptr<TEditorRegistry> FEditors;
  std::unique_ptr<TScriptLibrary> FLibrary;
  std::unique_ptr<TAskUser> asker_;
  std::unique_ptr<TPrompt> prompt_;
  THttpClientFactory http_factory_ = nullptr;
};

}  // namespace kovra
