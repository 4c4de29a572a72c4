// TFormUrlFilterMsg: the intercept report dialog. It shows the page's
// address and the blocked jump's target (which the user may edit) and closes
// with modal result 1 for "允许跳转" and 2 for everything else; "加入黑名单!"
// first puts the target's host on the black list, "为当前网站设定过滤规则..."
// first opens the script manager for the page with a "[Filter]" entry for
// the target. The user can change the dialog's width, not its height.
//
// Test hook, for tests only: when the environment variable
// KOVRA_TEST_DIALOG_ANSWER is set, the dialog answers itself as soon as it is
// shown: a button's name (btnOk, btnCancel, btnAddToBlackList, btnSetFilters)
// presses that button, any other value ("close") closes the dialog. Tests
// drive the ask step through a whole host program so.
#pragma once

#include <QDialog>
#include <cstdint>

#include "library/UnitFormUrlFilterMsg.h"

class QPushButton;

namespace kovra {

class TEditorRegistry;
class TMyEdit;
class TScriptLibrary;

class TFormUrlFilterMsg : public QDialog {
  Q_OBJECT

 public:
  TFormUrlFilterMsg(TScriptLibrary& library, TEditorRegistry& editors);

  void btnAddToBlackListClick();
  void btnSetFiltersClick();
  // Closing by the title bar or Esc answers as "阻止跳转" does.
  void reject() override;

  uint32_t ScriptId = 0;
  QPushButton* btnOk;
  QPushButton* btnCancel;
  QPushButton* btnSetFilters;
  TMyEdit* MyEdit3;
  QPushButton* btnAddToBlackList;
  TMyEdit* EdSrc;
  TMyEdit* EdBreak;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  TScriptLibrary& library_;
  TEditorRegistry& editors_;
  int remembered_height_;
};

// Asks the question in a new dialog, shown modally; its modal result, or 0
// when no dialog can be shown on this thread.
int32_t ShowInterceptDialog(TScriptLibrary& library, TEditorRegistry& editors,
                            const TInterceptQuestion& question);

}  // namespace kovra
