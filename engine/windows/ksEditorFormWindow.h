// TksEditorFrm: the header editor window. The user edits a script text in
// its structured form: the seven header values in edits and drop-down lists,
// each with the header line it produces shown beside it (refreshed on every
// change), and the declarations and the body in two memos. The window has
// no OK or Cancel: closing it hands back the text composed from the seven
// line displays and the memos.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <string_view>

#include "library/ksEditorForm.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;

namespace kovra {

class TksEditorFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TksEditorFrm(QWidget* owner);

  // Inputs to their defaults (each change handler run), memos emptied.
  void ResetFields();
  // What the text's header block and blocks give (defaults where they give nothing).
  void LoadFromText(std::u16string_view text);
  std::u16string ComposeText() const;
  // The text last loaded named a match address in its header.
  bool MatchUrlGiven() const { return match_url_given_; }

  // Sets an input and runs its change handler, also when nothing changes;
  // a list index outside the items leaves the selection.
  void SetEdit(QLineEdit* edit, const QString& text);
  void SetList(QComboBox* list, int index);

  // Shows the window modally, centred on the desktop.
  void ShowModal();

  QGroupBox* gb1;
  QGroupBox* gb2;
  QGroupBox* gb3;
  QLineEdit* EdParsersVersion;
  QLineEdit* EdName;
  QLineEdit* EdMatchUrl;
  QComboBox* cbMatchMode;
  QComboBox* cbEntryPoint;
  QComboBox* cbNeedResult;
  QComboBox* cbResultToNewPage;
  std::array<QLineEdit*, kHeaderRows> Lines;  // e0 .. e6
  QPlainTextEdit* MemoVariant;
  QPlainTextEdit* MemoContent;

 private:
  void ShowValues(const THeaderEditorValues& values);
  void EditChange(QLineEdit* edit);
  void ListChange(QComboBox* list);
  void ShowLine(int tag, const QString& line);

  bool match_url_given_ = false;
};

}  // namespace kovra
