// TMyMemo: the script memo of the manager window. It colours the script as
// it draws it (delimiters red, keywords in the highlight colour, numbers
// green, other words in the font colour, selected characters on the active
// caption colour) and carries a line's leading spaces to the new line on
// Enter. The keywords are the items of the owner's hidden KeywordList.
#pragma once

#include <QBasicTimer>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "windows/UnitScriptMemoLogic.h"

class QListWidget;

namespace kovra {

class TMyMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  TMyMemo(QWidget* parent, QListWidget* keyword_list);

  bool IsKeyword(std::u16string_view word) const;
  // The colour a run is drawn in outside the selection.
  QColor RunColour(TRunKind kind) const;
  // The text and background colours of a selected character of the run.
  QColor SelectedTextColour(TRunKind kind) const;
  static QColor SelectionBackground();

  // Splits the caret's line at the caret and starts the new line with the
  // old line's leading spaces.
  void InsertIndentedLineBreak();

  QListWidget* FKeywordList;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void timerEvent(QTimerEvent* e) override;

 private:
  std::vector<std::u16string> Keywords() const;
  void RestartCaretBlink();

  QBasicTimer blink_;
  bool caret_on_ = true;
};

// A memo's lines, one per text block (an empty memo has none), and the
// memo filled with lines.
std::vector<std::u16string> MemoLines(const QPlainTextEdit* memo);
void SetMemoLines(QPlainTextEdit* memo, const std::vector<std::u16string>& lines);

}  // namespace kovra
