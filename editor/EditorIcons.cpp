#include "EditorIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace kovra {
namespace {

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2A, 0x6F, 0xC9);
const QColor kYellow(0xE8, 0xC0, 0x4A);

// Draws on a 16 by 16 grid, scaled to each pixmap size.
QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    icon.addPixmap(pixmap);
  }
  return icon;
}

void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  QPainterPath page;
  page.moveTo(x, y);
  page.lineTo(x + w - 3, y);
  page.lineTo(x + w, y + 3);
  page.lineTo(x + w, y + h);
  page.lineTo(x, y + h);
  page.closeSubpath();
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawPath(page);
  p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
  p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
}

void Letter(QPainter& p, const QString& letter, bool bold, bool italic, bool underline) {
  QFont font(QStringLiteral("Serif"));
  font.setPixelSize(13);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  p.setFont(font);
  p.setPen(kInk);
  p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letter);
}

void Lines(QPainter& p, Qt::Alignment align) {
  p.setPen(QPen(kInk, 1.4));
  const qreal widths[] = {12, 8, 12, 6};
  for (int i = 0; i < 4; ++i) {
    const qreal w = widths[i];
    qreal x = 2;
    if (align == Qt::AlignHCenter) x = 8 - w / 2;
    if (align == Qt::AlignRight) x = 14 - w;
    const qreal y = 3.5 + i * 3;
    p.drawLine(QPointF(x, y), QPointF(x + w, y));
  }
}

}  // namespace

QIcon ToolIcon(TToolIcon kind) {
  switch (kind) {
    case TToolIcon::kNew:
      return Drawn([](QPainter& p) { Page(p, 3, 1.5, 10, 13); });
    case TToolIcon::kOpen:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kYellow);
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.drawRect(QRectF(1.5, 3, 5, 1.5));
        p.setBrush(kYellow.lighter(115));
        QPolygonF flap(
            {QPointF(3.5, 7.5), QPointF(15, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)});
        p.drawPolygon(flap);
      });
    case TToolIcon::kSave:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(kInk);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
      });
    case TToolIcon::kPrint:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xB0, 0xB0, 0xB0));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
      });
    case TToolIcon::kCut:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(4, 1.5), QPointF(10, 10.5));
        p.drawLine(QPointF(12, 1.5), QPointF(6, 10.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 1.4));
        p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
        p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
      });
    case TToolIcon::kCopy:
      return Drawn([](QPainter& p) {
        Page(p, 1.5, 1.5, 8, 10);
        Page(p, 6.5, 4.5, 8, 10);
      });
    case TToolIcon::kPaste:
      return Drawn([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xC8, 0x9B, 0x5A));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(QRectF(4, 1.5, 5, 2.5));
        Page(p, 7, 6.5, 7.5, 8.5);
      });
    case TToolIcon::kUndo:
      return Drawn([](QPainter& p) {
        QPainterPath arc;
        arc.moveTo(4, 6);
        arc.cubicTo(8, 2, 15, 4, 13, 10);
        arc.cubicTo(12, 13, 9, 14, 7, 14);
        p.setPen(QPen(kBlue, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(1.5, 3), QPointF(7, 4.5), QPointF(2.5, 9)}));
      });
    case TToolIcon::kBold:
      return Drawn([](QPainter& p) { Letter(p, QStringLiteral("B"), true, false, false); });
    case TToolIcon::kItalic:
      return Drawn([](QPainter& p) { Letter(p, QStringLiteral("I"), false, true, false); });
    case TToolIcon::kUnderline:
      return Drawn([](QPainter& p) { Letter(p, QStringLiteral("U"), false, false, true); });
    case TToolIcon::kAlignLeft:
      return Drawn([](QPainter& p) { Lines(p, Qt::AlignLeft); });
    case TToolIcon::kAlignCenter:
      return Drawn([](QPainter& p) { Lines(p, Qt::AlignHCenter); });
    case TToolIcon::kAlignRight:
      return Drawn([](QPainter& p) { Lines(p, Qt::AlignRight); });
    case TToolIcon::kBullets:
      return Drawn([](QPainter& p) {
        for (int i = 0; i < 3; ++i) {
          const qreal y = 3.5 + i * 4.5;
          p.setPen(Qt::NoPen);
          p.setBrush(kInk);
          p.drawEllipse(QPointF(3, y), 1.4, 1.4);
          p.setPen(QPen(kInk, 1.4));
          p.drawLine(QPointF(6, y), QPointF(14.5, y));
        }
      });
  }
  return {};
}

QIcon ProgramIcon() {
  return Drawn([](QPainter& p) {
    Page(p, 2, 0.5, 12, 15);
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kBlue);
    p.drawText(QRectF(2, 3, 12, 12), Qt::AlignCenter, QStringLiteral("K"));
  });
}

}  // namespace kovra
