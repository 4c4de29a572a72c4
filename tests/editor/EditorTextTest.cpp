#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "EditorText.h"
#include "editor/QtTestApp.h"

namespace kovra {
namespace {

using test::TestApp;

// A box holding text, with the selection from anchor to caret (0-based).
void SetText(QTextEdit* edit, const QString& text, int anchor, int caret) {
  edit->setPlainText(text);
  QTextCursor c(edit->document());
  c.setPosition(anchor);
  c.setPosition(caret, QTextCursor::KeepAnchor);
  edit->setTextCursor(c);
}

TEST(InsertAtCaret, GoesInAtTheCaretColumnAndKeepsTheSelection) {
  TestApp();
  const struct {
    const char* name;
    QString text;
    int anchor, caret;
    QString expected;
    int expected_caret;
    QString still_selected;
  } cases[] = {
      {"caret inside the second line", u"abc\ndefgh"_qs, 6, 6, u"abc\ndeXYfgh"_qs, 8, {}},
      {"caret at the start", u"abc"_qs, 0, 0, u"XYabc"_qs, 2, {}},
      {"caret at the end", u"abc"_qs, 3, 3, u"abcXY"_qs, 5, {}},
      {"selection made forwards", u"abc\ndefgh"_qs, 6, 8, u"abc\ndeXYfgh"_qs, 8, u"fg"_qs},
      {"selection made backwards", u"abc\ndefgh"_qs, 8, 6, u"abc\ndeXYfgh"_qs, 8, u"fg"_qs},
      {"selection over a line break", u"abc\ndef"_qs, 2, 5, u"abXYc\ndef"_qs, 4, u"c\u2029d"_qs},
  };
  QTextEdit edit;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetText(&edit, c.text, c.anchor, c.caret);
    InsertAtCaret(&edit, u"XY"_qs);
    EXPECT_EQ(edit.toPlainText(), c.expected);
    EXPECT_EQ(edit.textCursor().position(), c.expected_caret);
    EXPECT_EQ(edit.textCursor().selectedText(), c.still_selected);
  }
}

TEST(InsertAtCaret, LeavesReadOnlyBoxesAlone) {
  TestApp();
  QTextEdit edit;
  SetText(&edit, u"abc"_qs, 1, 1);
  edit.setReadOnly(true);
  InsertAtCaret(&edit, u"XY"_qs);
  InsertIndentedLineBreak(&edit);
  EXPECT_EQ(edit.toPlainText(), u"abc"_qs);
}

// Enter, through the box's key handling: one line break and the caret line's
// leading spaces (not tabs).
TEST(IndentOnEnter, RepeatsTheLeadingSpaces) {
  TestApp();
  const struct {
    const char* name;
    QString text;
    int caret;
    Qt::KeyboardModifiers modifiers;
    QString expected;
    int expected_caret;
  } cases[] = {
      {"four spaces, caret at the end", u"    x"_qs, 5, Qt::NoModifier, u"    x\n    "_qs, 10},
      {"two spaces, caret mid-line", u"  ab"_qs, 3, Qt::NoModifier, u"  a\n  b"_qs, 6},
      {"caret inside the indentation", u"    x"_qs, 2, Qt::NoModifier, u"  \n      x"_qs, 7},
      {"tabs do not count", u"\t  x"_qs, 4, Qt::NoModifier, u"\t  x\n"_qs, 5},
      {"no indentation", u"x"_qs, 1, Qt::NoModifier, u"x\n"_qs, 2},
      {"the line of the caret, not the first", u"a\n   b"_qs, 6, Qt::NoModifier, u"a\n   b\n   "_qs,
       10},
      {"shift-enter too", u" x"_qs, 2, Qt::ShiftModifier, u" x\n "_qs, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTextEdit edit;
    InstallIndentOnEnter(&edit);
    SetText(&edit, c.text, c.caret, c.caret);
    const int blocks = edit.document()->blockCount();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, c.modifiers, u"\r"_qs);
    QCoreApplication::sendEvent(&edit, &press);
    EXPECT_EQ(edit.toPlainText(), c.expected);
    EXPECT_EQ(edit.document()->blockCount(), blocks + 1);
    EXPECT_EQ(edit.textCursor().position(), c.expected_caret);
  }
}

TEST(EditorText, DocumentAndSelectionTextUseCrLf) {
  TestApp();
  QTextDocument doc;
  QTextCursor c(&doc);
  c.insertText(u"a\u2028b"_qs);
  c.insertBlock();
  c.insertText(u"中\u00A0c"_qs);
  c.insertBlock();
  EXPECT_EQ(DocumentText(doc), u"a\r\nb\r\n中\u00A0c\r\n"_qs);
  c.setPosition(2);
  c.setPosition(5, QTextCursor::KeepAnchor);
  EXPECT_EQ(SelectedText(c), u"b\r\n中"_qs);
}

TEST(Templates, FunctionAndPropertyTexts) {
  const struct {
    QString caption;
    int tag;
    QString expected;
  } functions[] = {
      {u"PosChar"_qs, 3, u" := PosChar(  ,  ,  );"_qs},
      {u"TrimSpace"_qs, 1, u" := TrimSpace(  );"_qs},
      {u"PosMatchLongChar"_qs, -5, u"PosMatchLongChar(  ,  ,  ,  ,  );"_qs},
      {u"Name"_qs, 0, u"Name(  );"_qs},
      {u"&Copy&C"_qs, 3, u" := CopyC(  ,  ,  );"_qs},
      {u"inc"_qs, 1, u" := inc(  );"_qs},
  };
  for (const auto& f : functions) {
    SCOPED_TRACE(f.caption.toStdString());
    EXPECT_EQ(FunctionTemplate(f.caption, f.tag), f.expected);
  }
  const struct {
    QString caption;
    int tag;
    QString expected;
  } properties[] = {
      {u"HandleRedirects"_qs, 0, u"IdHttp( 'Read' , 'HandleRedirects' , varString_Bool );"_qs},
      {u"Port"_qs, 1, u"IdHttp( 'Read' , 'Port' , varInteger );"_qs},
      {u"Request.&Referer"_qs, 2, u"IdHttp( 'Read' , 'Request.Referer' , varString );"_qs},
      {u"HttpOptions"_qs, 3, u"IdHttp( 'Read' , 'HttpOptions' , varString );"_qs},
      {u"Odd"_qs, 7, u"IdHttp( 'Read' , 'Odd' ,  );"_qs},
  };
  for (const auto& p : properties) {
    SCOPED_TRACE(p.caption.toStdString());
    EXPECT_EQ(PropertyTemplate(p.caption, p.tag), p.expected);
  }
  EXPECT_EQ(GetTemplate(), u"idHttp( 'Get' , 'http://www.example.com/' , Result );"_qs);
  EXPECT_EQ(PostTemplate(),
            u"idHttp( 'Post' , 'http://www.example.com/' , Result , 'data1' + 'data2' );"_qs);
}

}  // namespace
}  // namespace kovra
