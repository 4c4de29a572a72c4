// The Prompt port of the kovra command: questions go to the terminal when
// standard input is one; otherwise they answer "not shown".
#pragma once

#include "platform/Prompt.h"

namespace kovra::cli {

class TTerminalPrompt final : public TPrompt {
 public:
  TTerminalPrompt();
  int32_t AskYesNoCancel(std::u16string_view caption, std::u16string_view message) override;
  void ShowNotice(std::u16string_view caption, std::u16string_view message) override;

 private:
  bool interactive_;
};

}  // namespace kovra::cli
