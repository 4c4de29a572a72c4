#include "library/CoordinationController.h"

namespace kovra {
namespace {

// The engine's prompt: answers like a box that could not be shown.
class TSilentPrompt final : public TPrompt {
 public:
  int32_t AskYesNoCancel(std::u16string_view, std::u16string_view) override { return kNotShown; }
  void ShowNotice(std::u16string_view, std::u16string_view) override {}
};

}  // namespace

TCC::TCC(const std::filesystem::path& engine_folder)
    : FEditors(std::make_unique<TNoEditors>()),
      FLibrary(std::make_unique<TScriptLibrary>(engine_folder)),
      asker_(std::make_unique<TNoAskUser>()),
      prompt_(std::make_unique<TSilentPrompt>()) {}

TRunEnvironment TCC::RunEnvironment() const {
  TRunEnvironment env;
  env.prompt = prompt_.get();
  env.http_factory = http_factory_;
  return env;
}

}  // namespace kovra
