#include "Ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace kovra {
namespace {

constexpr int kHeight = 26;
constexpr int kStripTop = 6;
constexpr int kStripBottom = 20;
constexpr int kMarkerHalf = 5;
constexpr int kPixelsPerInch = 96;

}  // namespace

TRuler::TRuler(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Ruler"));
  setFixedHeight(kHeight);
  setMouseTracking(false);
}

QSize TRuler::sizeHint() const {
  return {200, kHeight};
}

void TRuler::SetTextArea(int left, int right) {
  area_left_ = left;
  area_right_ = std::max(left, right);
  update();
}

void TRuler::SetIndents(int first, int left, int right) {
  if (drag_ != TMarker::kNone) return;  // the user's drag wins until it ends
  first_ = first;
  left_ = left;
  right_ = right;
  update();
}

int TRuler::MarkerX(TMarker marker) const {
  switch (marker) {
    case TMarker::kFirst:
      return area_left_ + first_;
    case TMarker::kLeft:
      return area_left_ + left_;
    case TMarker::kRight:
      return area_right_ - right_;
    case TMarker::kNone:
      break;
  }
  return 0;
}

QRect TRuler::MarkerRect(TMarker marker) const {
  const int x = MarkerX(marker);
  if (marker == TMarker::kFirst) return {x - kMarkerHalf, 0, 2 * kMarkerHalf + 1, kStripTop + 3};
  return {x - kMarkerHalf, kStripBottom - 3, 2 * kMarkerHalf + 1, kHeight - kStripBottom + 3};
}

void TRuler::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  const QRect strip(area_left_, kStripTop, area_right_ - area_left_, kStripBottom - kStripTop);
  p.fillRect(strip, palette().base());
  p.setPen(palette().mid().color());
  p.drawRect(strip.adjusted(0, 0, -1, -1));

  QFont small = font();
  small.setPixelSize(9);
  p.setFont(small);
  p.setPen(palette().text().color());
  const int mid = (kStripTop + kStripBottom) / 2;
  for (int step = 1;; ++step) {
    const int x = area_left_ + step * kPixelsPerInch / 8;
    if (x >= area_right_) break;
    if (step % 8 == 0) {
      p.drawText(QRect(x - 10, kStripTop, 20, kStripBottom - kStripTop), Qt::AlignCenter,
                 QString::number(step / 8));
    } else if (step % 4 == 0) {
      p.drawLine(x, mid - 3, x, mid + 3);
    } else {
      p.drawLine(x, mid - 1, x, mid + 1);
    }
  }

  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(palette().shadow().color());
  p.setBrush(palette().button());
  const int fx = MarkerX(TMarker::kFirst);
  p.drawPolygon(QPolygon(
      {QPoint(fx - kMarkerHalf, 0), QPoint(fx + kMarkerHalf, 0), QPoint(fx, kStripTop + 2)}));
  for (TMarker m : {TMarker::kLeft, TMarker::kRight}) {
    const int x = MarkerX(m);
    p.drawPolygon(QPolygon({QPoint(x, kStripBottom - 2), QPoint(x + kMarkerHalf, kHeight - 1),
                            QPoint(x - kMarkerHalf, kHeight - 1)}));
  }
}

void TRuler::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  for (TMarker m : {TMarker::kFirst, TMarker::kLeft, TMarker::kRight}) {
    if (MarkerRect(m).contains(at)) {
      drag_ = m;
      return;
    }
  }
}

void TRuler::MoveMarker(TMarker marker, int x) {
  x = std::clamp(x, area_left_, area_right_);
  switch (marker) {
    case TMarker::kFirst:
      first_ = x - area_left_;
      break;
    case TMarker::kLeft:
      // The first line keeps its place; only the other lines move.
      left_ = x - area_left_;
      break;
    case TMarker::kRight:
      right_ = area_right_ - x;
      break;
    case TMarker::kNone:
      break;
  }
  update();
}

void TRuler::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ != TMarker::kNone) MoveMarker(drag_, event->position().toPoint().x());
}

void TRuler::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_ == TMarker::kNone || event->button() != Qt::LeftButton) return;
  MoveMarker(drag_, event->position().toPoint().x());
  drag_ = TMarker::kNone;
  emit IndentsChanged(first_, left_, right_);
}

}  // namespace kovra
