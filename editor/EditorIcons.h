// Toolbar pictures and the program icon, drawn in code so that they do not
// depend on an icon theme being installed.
#pragma once

#include <QIcon>

namespace kovra {

enum class TToolIcon {
  kNew,
  kOpen,
  kSave,
  kPrint,
  kCut,
  kCopy,
  kPaste,
  kUndo,
  kBold,
  kItalic,
  kUnderline,
  kAlignLeft,
  kAlignCenter,
  kAlignRight,
  kBullets
};

QIcon ToolIcon(TToolIcon kind);
QIcon ProgramIcon();

}  // namespace kovra
