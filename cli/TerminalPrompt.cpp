#include "TerminalPrompt.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "platform/CodePage.h"

namespace kovra::cli {

TTerminalPrompt::TTerminalPrompt() : interactive_(isatty(STDIN_FILENO) == 1) {}

int32_t TTerminalPrompt::AskYesNoCancel(std::u16string_view caption, std::u16string_view message) {
  if (!interactive_) return kNotShown;
  std::cerr << "[" << EncodeUtf8(caption) << "] " << EncodeUtf8(message) << "\n";
  for (;;) {
    std::cerr << "(y)es / (n)o / (c)ancel? " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return kCancel;  // closed without a choice
    if (answer.empty()) continue;
    switch (answer[0]) {
      case 'y': case 'Y': return kYes;
      case 'n': case 'N': return kNo;
      case 'c': case 'C': case '\x1b': return kCancel;
      default: break;
    }
  }
}

void TTerminalPrompt::ShowNotice(std::u16string_view caption, std::u16string_view message) {
  std::cerr << "[" << EncodeUtf8(caption) << "] " << EncodeUtf8(message) << "\n";
}

}  // namespace kovra::cli
