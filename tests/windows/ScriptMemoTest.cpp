// The highlighting memo: run colours, selection colours wherever the view
// stands, and Enter's indentation.
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest/QTest>

#include "WindowsTestSupport.h"
#include "windows/UnitScriptMemo.h"

namespace kovra {
namespace {

class ScriptMemoTest : public testing::Test {
 protected:
  void SetUp() override {
    test::App();
    window_ = std::make_unique<QWidget>();
    keywords_ = new QListWidget(window_.get());
    keywords_->addItems({"begin", "end", "Result", "True", "False"});
    keywords_->hide();
    memo_ = new TMyMemo(window_.get(), keywords_);
    memo_->setGeometry(0, 0, 600, 400);
    window_->resize(600, 400);
    window_->show();
  }

  // The colour of each character of a line as the highlighter left it.
  std::vector<QColor> CharColours(int line) {
    const QTextBlock block = memo_->document()->findBlockByNumber(line);
    std::vector<QColor> colours(static_cast<size_t>(block.length() - 1), QColor());
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
      for (int i = r.start; i < r.start + r.length; ++i)
        colours[static_cast<size_t>(i)] = r.format.foreground().color();
    }
    return colours;
  }

  std::unique_ptr<QWidget> window_;
  QListWidget* keywords_ = nullptr;
  TMyMemo* memo_ = nullptr;
};

TEST_F(ScriptMemoTest, RunColours) {
  memo_->setPlainText(QStringLiteral("x := Result+12;\nbegin2 RESULT a_b.c"));
  const QColor red(255, 0, 0), text = memo_->RunColour(TRunKind::kWord);
  const QColor keyword = memo_->RunColour(TRunKind::kKeyword), green(0, 128, 0);
  EXPECT_EQ(memo_->RunColour(TRunKind::kNumber), green);
  EXPECT_EQ(CharColours(0),
            (std::vector<QColor>{text, red, red, red, red, keyword, keyword, keyword, keyword,
                                 keyword, keyword, red, green, green, red}));
  const std::vector<QColor> second = CharColours(1);
  EXPECT_EQ(second[0], text);     // begin2 is a plain word
  EXPECT_EQ(second[7], keyword);  // RESULT
  EXPECT_EQ(second[14], text);    // a_b stays one word
  EXPECT_EQ(second[17], red);     // the dot splits a_b from c
  EXPECT_EQ(second[18], text);
  EXPECT_EQ(memo_->SelectedTextColour(TRunKind::kKeyword), QColor(Qt::white));
  EXPECT_EQ(memo_->SelectedTextColour(TRunKind::kDelimiter), red);
}

TEST_F(ScriptMemoTest, SelectionOnALaterLineIsDrawnWhereItIs) {
  QStringList lines;
  for (int i = 0; i < 400; ++i) lines << QStringLiteral("line%1 := begin;").arg(i);
  memo_->setPlainText(lines.join(QLatin1Char('\n')));
  // Select "begin" on line 300, which scrolls the view down to it.
  const QTextBlock block = memo_->document()->findBlockByNumber(300);
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + 11);
  cursor.setPosition(block.position() + 16, QTextCursor::KeepAnchor);
  memo_->setTextCursor(cursor);
  memo_->ensureCursorVisible();
  QApplication::processEvents();
  ASSERT_GT(memo_->verticalScrollBar()->value(), 250);

  const QImage image = memo_->viewport()->grab().toImage();
  auto caret_at = [&](int column) {
    QTextCursor c(block);
    c.setPosition(block.position() + column);
    return memo_->cursorRect(c);
  };
  const QRect line = caret_at(11);
  const int x0 = caret_at(11).left();
  const int x1 = caret_at(16).left();
  auto selection_share = [&](int left, int right, int top, int bottom) {
    int hits = 0, all = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        ++all;
        if (image.pixelColor(x, y) == TMyMemo::SelectionBackground()) ++hits;
      }
    }
    return all == 0 ? 0.0 : static_cast<double>(hits) / all;
  };
  const int top = line.top() + 1, bottom = line.bottom() - 1;
  EXPECT_GT(selection_share(x0 + 1, x1 - 1, top, bottom), 0.4);   // behind the selected characters
  EXPECT_EQ(selection_share(0, x0 - 1, top, bottom), 0.0);        // not before them
  EXPECT_EQ(selection_share(0, image.width(), 0, top - 2), 0.0);  // nor on other lines
}

TEST_F(ScriptMemoTest, EnterCarriesTheLeadingSpaces) {
  memo_->setPlainText(QStringLiteral("begin\n   abc def\nend"));
  memo_->setFocus();
  QTextCursor cursor(memo_->document()->findBlockByNumber(1));
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 6);  // before " def"
  memo_->setTextCursor(cursor);
  QTest::keyClick(memo_, Qt::Key_Return);
  EXPECT_EQ(memo_->toPlainText(), QStringLiteral("begin\n   abc\n    def\nend"));
  EXPECT_EQ(memo_->textCursor().blockNumber(), 2);
  EXPECT_EQ(memo_->textCursor().positionInBlock(), 3);  // before the rest
  // Tabs do not count.
  memo_->setPlainText(QStringLiteral("\t  x"));
  memo_->moveCursor(QTextCursor::End);
  QTest::keyClick(memo_, Qt::Key_Enter);
  EXPECT_EQ(memo_->toPlainText(), QStringLiteral("\t  x\n"));
}

}  // namespace
}  // namespace kovra
