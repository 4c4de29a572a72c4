// The Run Script window: a script over test data from the main editor (its
// whole text for Tag 0, the selection for Tag 1), run through the engine's
// ScriptDeData, its result shown below and put back by "OK". Its menus insert
// call templates for every built-in function and for idHttp.
//
// A run goes on a worker thread (TScriptRun): the window shows a busy bar and
// a Stop button meanwhile and cannot be closed until the run has ended.
#pragma once

#include <QDialog>

class QAction;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace kovra {

class TScriptRun;

class TScriptForm final : public QDialog {
  Q_OBJECT

 public:
  // main_editor is the main window's editor: the data comes from it and
  // "OK" writes the result into it.
  explicit TScriptForm(QTextEdit* main_editor, QWidget* parent = nullptr);
  ~TScriptForm() override;

  QTextEdit* Editor() const { return editor_; }
  QTextEdit* Result() const { return result_; }
  bool IsRunning() const;

  // The window's operations, as its buttons trigger them.
  void RunClick();
  void StopClick();
  void Button1Click();
  void ClearClick();
  void Button2Click();

 signals:
  // A run has ended and its result is in Result.
  void RunFinished();

 public slots:
  void reject() override;  // ignored while a run goes on

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus(QMenuBar* bar);
  void fnClick(QAction* item);
  void idCmd(QAction* item);
  void RunDone(const QString& result);
  void SetRunning(bool running);

  QTextEdit* main_editor_;
  QTextEdit* editor_;
  QTextEdit* result_;
  QPushButton* run_button_;
  QPushButton* stop_button_;
  QPushButton* ok_button_;
  QPushButton* close_button_;
  QProgressBar* busy_;
  TScriptRun* run_;
};

}  // namespace kovra
