// The ruler above the main editor: inch marks over the text area and three
// draggable markers for the paragraph indents (first line, left, right).
#pragma once

#include <QWidget>

namespace kovra {

class TRuler final : public QWidget {
  Q_OBJECT

 public:
  explicit TRuler(QWidget* parent = nullptr);

  // Where the editor's text area begins and ends, in the ruler's own x.
  void SetTextArea(int left, int right);

  // The current paragraph's indents in pixels: first line and left from the
  // text area's left edge, right from its right edge.
  void SetIndents(int first, int left, int right);

  int TextLeft() const { return area_left_; }
  int TextRight() const { return area_right_; }
  int FirstIndent() const { return first_; }
  int LeftIndent() const { return left_; }
  int RightIndent() const { return right_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // A marker was dropped at a new place; the values are as for SetIndents.
  void IndentsChanged(int first, int left, int right);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class TMarker { kNone, kFirst, kLeft, kRight };

  int MarkerX(TMarker marker) const;
  QRect MarkerRect(TMarker marker) const;
  void MoveMarker(TMarker marker, int x);

  int area_left_ = 6;
  int area_right_ = 200;
  int first_ = 0;
  int left_ = 0;
  int right_ = 0;
  TMarker drag_ = TMarker::kNone;
};

}  // namespace kovra
