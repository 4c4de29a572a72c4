// The main window of KovraEdit: a rich-text editor for script files and
// test pages (files, printing, clipboard, fonts, alignment, bullets, indent
// ruler, status bar) whose "Script" menu opens the Run Script window on the
// whole text or on the selection.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QTextEdit>

#include <memory>

class QAction;
class QFontComboBox;
class QLabel;
class QSpinBox;
class QTextCharFormat;

namespace kovra {

class TEditorPrompts;
class TRuler;
class TScriptForm;

inline constexpr char kAppTitle[] = "Kovra Editor v1.0";
inline constexpr char kUntitled[] = "Untitled";

// The rich-text box of the main window: a file dropped on it is handed to
// the window instead of being inserted as text.
class TRichEditor final : public QTextEdit {
  Q_OBJECT

 public:
  using QTextEdit::QTextEdit;

 signals:
  void FileDropped(const QString& path);

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
};

class TMainForm final : public QMainWindow {
  Q_OBJECT

 public:
  // prompts answers the window's questions and dialogs; null: real ones.
  explicit TMainForm(TEditorPrompts* prompts = nullptr, QWidget* parent = nullptr);
  ~TMainForm() override;

  QTextEdit* Editor() const { return editor_; }
  TRuler* Ruler() const { return ruler_; }
  const QString& FileName() const { return file_name_; }

  // The Run Script window the "Script" items show.
  void SetScriptForm(TScriptForm* form) { script_form_ = form; }

  // File menu. FileSave and FileSaveAs answer whether the text was written.
  void FileNew();
  void FileOpen();
  bool FileSave();
  bool FileSaveAs();
  void FilePrint();

  // Opens a file dropped on the window or named on the command line: the
  // unsaved-changes question first.
  void OpenDroppedFile(const QString& path);

  // Loads a file as the current one, without the question; on a read error
  // the text and name stay as they were.
  bool OpenFile(const QString& path, bool read_only);

  // The unsaved-changes question, asked only when the text is modified:
  // true when the action may go on.
  bool CheckFileSave();

  // "Script" items: the selection in red while the Run Script window shows,
  // then the whole text black and the caret at the start.
  void ScriptClick(int tag);

  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateActions();
  void CreateToolBar();
  void CreateStatusBar();
  QAction* NewAction(const QString& text, const QString& name, const QString& tip,
                     const QKeySequence& shortcut = {});

  void SetFileName(const QString& name);
  bool WriteFile(const QString& path);
  void ResetDocument();
  void SelectionChange();
  void UpdateEditActions();
  void UpdateRuler();
  void MergeFormat(const QTextCharFormat& format);
  void SetBullets(bool on);
  void ApplyIndents(int first, int left, int right);
  void EditFont();

  std::unique_ptr<TEditorPrompts> own_prompts_;
  TEditorPrompts* prompts_;
  TScriptForm* script_form_ = nullptr;
  TRichEditor* editor_;
  TRuler* ruler_;
  QString file_name_;
  bool updating_ = false;
  bool script_shown_ = false;

  QFontComboBox* font_name_ = nullptr;
  QSpinBox* font_size_ = nullptr;
  QLabel* panel_position_ = nullptr;
  QLabel* panel_modified_ = nullptr;
  QLabel* panel_spare_ = nullptr;

  QAction* new_ = nullptr;
  QAction* open_ = nullptr;
  QAction* save_ = nullptr;
  QAction* save_as_ = nullptr;
  QAction* print_ = nullptr;
  QAction* exit_ = nullptr;
  QAction* word_wrap_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* font_ = nullptr;
  QAction* with_selection_ = nullptr;
  QAction* with_all_ = nullptr;
  QAction* about_ = nullptr;
  QAction* bold_ = nullptr;
  QAction* italic_ = nullptr;
  QAction* underline_ = nullptr;
  QAction* align_left_ = nullptr;
  QAction* align_center_ = nullptr;
  QAction* align_right_ = nullptr;
  QAction* bullets_ = nullptr;
};

}  // namespace kovra
