#include "windows/WindowLook.h"

#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace kovra {

QFont FormFont(int pixels) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("WenQuanYi Micro Hei")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  return font;
}

QFont FixedPitchFont(int pixels) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Mono"),
                    QStringLiteral("WenQuanYi Micro Hei Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(pixels);
  return font;
}

QFont CellFont(QFont font, int cell_pixels) {
  for (int size = cell_pixels; size > 4; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= cell_pixels) return font;
  }
  return font;
}

void SetTag(QWidget* widget, int tag) {
  widget->setProperty("Tag", tag);
}

int Tag(const QWidget* widget) {
  return widget->property("Tag").toInt();
}

}  // namespace kovra
