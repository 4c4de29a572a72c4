// TMessageBoxPrompt: the engine's prompt as message boxes without owner
// window. A call from a thread other than the QApplication's is carried to
// that thread and waits for the answer there (the host's event loop must be
// running on it); with the engine's own QApplication, which no other thread
// drives, such a call shows nothing.
#pragma once

#include "platform/Prompt.h"

namespace kovra {

class TMessageBoxPrompt final : public TPrompt {
 public:
  // kYes, kNo, kCancel (also when closed), kNotShown without a display.
  int32_t AskYesNoCancel(std::u16string_view caption, std::u16string_view message) override;
  void ShowNotice(std::u16string_view caption, std::u16string_view message) override;
};

}  // namespace kovra
