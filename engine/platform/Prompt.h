// The Prompt port: how the engine puts a question or a notice to the user.
// A front end supplies its own (a terminal prompt in the kovra command, a
// message box when a GUI exists); without one the engine answers as if no
// box could be shown.
#pragma once

#include <cstdint>
#include <string_view>

namespace kovra {

class TPrompt {
 public:
  static constexpr int32_t kYes = 6;
  static constexpr int32_t kNo = 7;
  static constexpr int32_t kCancel = 2;
  static constexpr int32_t kNotShown = 0;

  virtual ~TPrompt() = default;

  // A question with the buttons Yes, No and Cancel and no icon: kYes, kNo,
  // kCancel (also when closed without a choice), kNotShown when it cannot be
  // shown at all.
  virtual int32_t AskYesNoCancel(std::u16string_view caption, std::u16string_view message) = 0;

  // A notice with one OK button.
  virtual void ShowNotice(std::u16string_view caption, std::u16string_view message) = 0;
};

// Shows nothing: every question answers kNotShown.
class TNoPrompt final : public TPrompt {
 public:
  int32_t AskYesNoCancel(std::u16string_view, std::u16string_view) override { return kNotShown; }
  void ShowNotice(std::u16string_view, std::u16string_view) override {}
  static TNoPrompt& Instance() {
    static TNoPrompt prompt;
    return prompt;
  }
};

}  // namespace kovra
