// TEditForm: the entry bar, a small borderless window in which the user edits
// one entry of a script manager window's URL-match list (Tag 1) or navigation
// list (Tag 2): its kind and its value. Its buttons replace, add or delete
// the entry and hide the bar, which is reused at the next click. The bar is
// moved by dragging its grip, Panel3.
#pragma once

#include <QPoint>
#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace kovra {

class TFrmScriptEditor;
class TMyEdit;

class TEditForm : public QWidget {
  Q_OBJECT

 public:
  // The bar of the owner window; a bar without owner ignores its buttons.
  explicit TEditForm(TFrmScriptEditor* owner);

  // Shows the tip of the kind chosen in Box; "[ExUrl]" resets the value to
  // "All Allow". Nothing for a kind not in the table.
  void BoxChange();
  // Cycles "All Allow", "All Filter", "Default".
  void ValueDblClick();
  void btnGetDomainClick();
  void btnFullNameClick();
  // Applies the button (by its Tag) to the target list and hides the bar.
  void ResultClick(QPushButton* button);

  TFrmScriptEditor* FOwnerEditor;
  QLabel* Panel3;
  QComboBox* Box;
  TMyEdit* Value;
  QPushButton* btnGetDomain;
  QPushButton* btnFullName;
  TMyEdit* Tips;
  QPushButton* btnCancel;
  QPushButton* btnDel;
  QPushButton* btnAdd;
  QPushButton* btnOk;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QListWidget* TargetList() const;

  // Dragging by hand, where the window system cannot move the bar itself.
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace kovra
