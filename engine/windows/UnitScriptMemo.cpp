#include "windows/UnitScriptMemo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextLayout>

#include "windows/WindowLook.h"

namespace kovra {
namespace {

// Colours each line's runs as the memo's layout draws it.
class TRunHighlighter final : public QSyntaxHighlighter {
 public:
  explicit TRunHighlighter(TMyMemo* memo) : QSyntaxHighlighter(memo->document()), memo_(memo) {}

 protected:
  void highlightBlock(const QString& text) override {
    for (const TColourRun& run : ColourRuns(text.toStdU16String(), Keywords())) {
      setFormat(run.start, run.length, memo_->RunColour(run.kind));
    }
  }

 private:
  const std::vector<std::u16string>& Keywords() {
    // The keyword list is filled once by the owner and never changes.
    if (keywords_.empty()) {
      for (int i = 0; memo_->FKeywordList != nullptr && i < memo_->FKeywordList->count(); ++i) {
        keywords_.push_back(memo_->FKeywordList->item(i)->text().toStdU16String());
      }
    }
    return keywords_;
  }

  TMyMemo* memo_;
  std::vector<std::u16string> keywords_;
};

}  // namespace

std::vector<std::u16string> MemoLines(const QPlainTextEdit* memo) {
  std::vector<std::u16string> lines;
  const QTextDocument* doc = memo->document();
  if (doc->isEmpty()) return lines;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    lines.push_back(block.text().toStdU16String());
  }
  return lines;
}

void SetMemoLines(QPlainTextEdit* memo, const std::vector<std::u16string>& lines) {
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QText(lines[i]);
  }
  memo->setPlainText(text);
}

TMyMemo::TMyMemo(QWidget* parent, QListWidget* keyword_list)
    : QPlainTextEdit(parent), FKeywordList(keyword_list) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font = FormFont();
  font.setBold(true);
  setFont(CellFont(font, 20));
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  new TRunHighlighter(this);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { RestartCaretBlink(); });
}

std::vector<std::u16string> TMyMemo::Keywords() const {
  std::vector<std::u16string> keywords;
  for (int i = 0; FKeywordList != nullptr && i < FKeywordList->count(); ++i) {
    keywords.push_back(FKeywordList->item(i)->text().toStdU16String());
  }
  return keywords;
}

bool TMyMemo::IsKeyword(std::u16string_view word) const {
  return kovra::IsKeyword(word, Keywords());
}

QColor TMyMemo::RunColour(TRunKind kind) const {
  switch (kind) {
    case TRunKind::kDelimiter:
      return QColor(255, 0, 0);
    case TRunKind::kKeyword:
      return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    case TRunKind::kNumber:
      return DarkGreen();
    case TRunKind::kWord:
      break;
  }
  return palette().color(QPalette::Text);
}

QColor TMyMemo::SelectedTextColour(TRunKind kind) const {
  return kind == TRunKind::kKeyword ? QColor(Qt::white) : RunColour(kind);
}

QColor TMyMemo::SelectionBackground() {
  return ActiveCaption();
}

void TMyMemo::InsertIndentedLineBreak() {
  QTextCursor cursor = textCursor();
  const int caret = cursor.selectionStart();
  cursor.setPosition(caret);
  const int spaces = LeadingSpaces(cursor.block().text().toStdU16String());
  cursor.insertText(QLatin1Char('\n') + QString(spaces, QLatin1Char(' ')));
  setTextCursor(cursor);
}

void TMyMemo::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !isReadOnly()) {
    InsertIndentedLineBreak();
    e->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void TMyMemo::RestartCaretBlink() {
  caret_on_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash > 0) {
    blink_.start(flash / 2, this);
  } else {
    blink_.stop();
  }
  viewport()->update();
}

void TMyMemo::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  RestartCaretBlink();
}

void TMyMemo::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  blink_.stop();
  viewport()->update();
}

void TMyMemo::timerEvent(QTimerEvent* e) {
  if (e->timerId() != blink_.timerId()) {
    QPlainTextEdit::timerEvent(e);
    return;
  }
  caret_on_ = !caret_on_;
  viewport()->update(cursorRect());
}

// Draws the visible lines on white with their run colours (set by the
// highlighter) and the selected characters in the selection colours of
// their run, then the caret.
void TMyMemo::paintEvent(QPaintEvent* e) {
  QPainter painter(viewport());
  const QRect area = e->rect();
  painter.fillRect(area, Qt::white);

  const QTextCursor cursor = textCursor();
  const int selection_start = cursor.selectionStart();
  const int selection_end = cursor.selectionEnd();
  const bool draw_caret = hasFocus() && caret_on_ && !isReadOnly();
  const std::vector<std::u16string> keywords = Keywords();

  QPointF offset = contentOffset();
  for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
    const QRectF bounds = blockBoundingRect(block).translated(offset);
    if (bounds.top() > area.bottom()) break;
    if (block.isVisible() && bounds.bottom() >= area.top()) {
      QTextLayout* layout = block.layout();
      QList<QTextLayout::FormatRange> selected;
      const int block_start = block.position();
      const int from = std::max(selection_start - block_start, 0);
      const int to = std::min(selection_end - block_start, block.length() - 1);
      if (from < to) {
        for (const TColourRun& run : ColourRuns(block.text().toStdU16String(), keywords)) {
          const int a = std::max(from, run.start);
          const int b = std::min(to, run.start + run.length);
          if (a >= b) continue;
          QTextLayout::FormatRange range;
          range.start = a;
          range.length = b - a;
          range.format.setBackground(SelectionBackground());
          range.format.setForeground(SelectedTextColour(run.kind));
          selected.append(range);
        }
      }
      layout->draw(&painter, offset, selected, area);
      if (draw_caret && block == cursor.block()) {
        layout->drawCursor(&painter, offset, cursor.positionInBlock(), cursorWidth());
      }
    }
    offset.ry() += bounds.height();
  }
}

}  // namespace kovra
