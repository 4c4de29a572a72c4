// TMyEdit: the single-line edit of the engine's windows. It publishes the
// side of its parent it is docked to under the property "align"; the owning
// form's layout honours it. It adds no behaviour.
#pragma once

#include <QLineEdit>

namespace kovra {

class TMyEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(TAlign align READ align WRITE setAlign)

 public:
  enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
  Q_ENUM(TAlign)

  explicit TMyEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

  TAlign align() const { return align_; }
  void setAlign(TAlign align) { align_ = align; }

 private:
  TAlign align_ = alNone;
};

}  // namespace kovra
