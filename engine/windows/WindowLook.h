// Colours and fonts shared by the engine's windows.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string_view>

class QWidget;

namespace kovra {

// The dark grey of the entry bar, the splitters and the address rows
// (6383978 as the toolkit stores colours: red 106, green 105, blue 97).
inline QColor BarGrey() {
  return QColor(106, 105, 97);
}
inline QColor MoneyGreen() {
  return QColor(192, 220, 192);
}
inline QColor DarkGreen() {
  return QColor(0, 128, 0);
}
// The caption colour of an active window, behind selected script text.
inline QColor ActiveCaption() {
  return QColor(153, 180, 209);
}

// "MS Sans Serif" (or the nearest font present) with characters `pixels`
// high, the windows' default font.
QFont FormFont(int pixels = 11);
// The same name with a fixed pitch requested (the nearest fixed-pitch font).
QFont FixedPitchFont(int pixels = 11);
// The font with the largest size whose line (cell) height is at most
// `cell_pixels`.
QFont CellFont(QFont font, int cell_pixels);

inline QString QText(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// Sets the dynamic property "Tag" that carries a control's meaning.
void SetTag(QWidget* widget, int tag);
int Tag(const QWidget* widget);

}  // namespace kovra
