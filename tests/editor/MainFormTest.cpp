#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFontComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTimer>
#include <QUrl>

#include <deque>
#include <vector>

#include "EditorPrompts.h"
#include "EditorText.h"
#include "Ruler.h"
#include "UnitScriptForm.h"
#include "editor/QtTestApp.h"
#include "remain.h"

namespace kovra {
namespace {

using TAnswer = TEditorPrompts::TAnswer;

// Answers the window's questions and dialogs from the test's script.
class TFakePrompts final : public TEditorPrompts {
 public:
  TAnswer Confirm(QWidget*, const QString& text) override {
    questions.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return TAnswer::kCancel;
    }
    const TAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowError(QWidget*, const QString& text) override { errors.push_back(text); }
  bool ChooseOpenFile(QWidget*, QString* name, bool* read_only) override {
    ++open_dialogs;
    *name = open_name;
    *read_only = open_read_only;
    return !open_name.isEmpty();
  }
  bool ChooseSaveFile(QWidget*, const QString&, QString* name, int* filter_index) override {
    ++save_dialogs;
    *name = save_name;
    *filter_index = save_filter;
    return !save_name.isEmpty();
  }
  bool SetUpPrinter(QWidget*, QPrinter* printer) override {
    printed_doc_name = printer->docName();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    return true;
  }
  bool ChooseFont(QWidget*, QFont* font) override {
    font->setFamilies(QStringList{u"DejaVu Serif"_qs});
    font->setPointSize(14);
    font->setItalic(true);
    return true;
  }

  std::deque<TAnswer> answers;
  std::vector<QString> questions;
  std::vector<QString> errors;
  QString open_name;
  bool open_read_only = false;
  int open_dialogs = 0;
  QString save_name;
  int save_filter = 1;
  int save_dialogs = 0;
  QString pdf;
  QString printed_doc_name;
};

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : app_(test::TestApp()), form_(&prompts_) {}

  QString Path(const QString& name) const { return dir_.filePath(name); }

  // Types text as the user does, leaving the text modified.
  void Type(const QString& text) {
    QTextCursor c = form_.Editor()->textCursor();
    c.insertText(text);
    form_.Editor()->setTextCursor(c);
  }

  QString Text() const { return form_.Editor()->toPlainText(); }
  bool Modified() const { return form_.Editor()->document()->isModified(); }
  QString Panel(const char* name) const {
    return form_.findChild<QLabel*>(QString::fromLatin1(name))->text();
  }

  QApplication& app_;
  QTemporaryDir dir_;
  TFakePrompts prompts_;
  TMainForm form_;
};

TEST_F(MainFormTest, StartsUntitledWithItsMenus) {
  EXPECT_EQ(form_.windowTitle(), u"Untitled - Kovra Editor v1.0"_qs);
  EXPECT_EQ(form_.FileName(), u"Untitled"_qs);
  EXPECT_EQ(form_.size(), QSize(908, 612));
  const struct {
    const char* name;
    const char* text;
    QKeySequence shortcut;
  } items[] = {
      {"FileNewItem", "&New", QKeySequence(u"Ctrl+N"_qs)},
      {"FileOpenItem", "&Open...", QKeySequence(u"Ctrl+O"_qs)},
      {"FileSaveItem", "&Save", QKeySequence(u"Ctrl+S"_qs)},
      {"FileSaveAsItem", "Save &As...", QKeySequence()},
      {"FilePrintItem", "&Print", QKeySequence(u"Ctrl+P"_qs)},
      {"FileExitItem", "E&xit", QKeySequence(u"Alt+X"_qs)},
      {"WordWap1", "Word Wrap", QKeySequence()},
      {"EditUndoItem", "&Undo", QKeySequence(u"Ctrl+Z"_qs)},
      {"EditCutItem", "Cu&t", QKeySequence(u"Ctrl+X"_qs)},
      {"EditCopyItem", "&Copy", QKeySequence(u"Ctrl+C"_qs)},
      {"EditPasteItem", "&Paste", QKeySequence(u"Ctrl+V"_qs)},
      {"EditFontItem", "&Font...", QKeySequence()},
      {"withSelection1", "with Selection...", QKeySequence()},
      {"withAlltext1", "with All text...", QKeySequence()},
      {"HelpAboutItem", "&About...", QKeySequence()},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.name);
    const QAction* action = form_.findChild<QAction*>(QString::fromLatin1(item.name));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromLatin1(item.text));
    EXPECT_EQ(action->shortcut(), item.shortcut);
  }
  EXPECT_TRUE(form_.findChild<QAction*>(u"WordWap1"_qs)->isChecked());
  EXPECT_EQ(form_.findChild<QAction*>(u"withSelection1"_qs)->property("Tag").toInt(), 1);
  EXPECT_EQ(form_.findChild<QAction*>(u"withAlltext1"_qs)->property("Tag").toInt(), 0);
  // Every menu with its items, in order, separators left out.
  QStringList menus;
  for (const QAction* m : form_.menuBar()->actions()) {
    QStringList entries;
    for (const QAction* a : m->menu()->actions()) {
      if (!a->isSeparator()) entries << a->text();
    }
    menus << m->text() + u": "_qs + entries.join(u", "_qs);
  }
  EXPECT_EQ(
      menus,
      QStringList({u"&File: &New, &Open..., &Save, Save &As..., &Print, E&xit"_qs,
                   u"View: Word Wrap"_qs, u"&Edit: &Undo, Cu&t, &Copy, &Paste, &Font..."_qs,
                   u"Script: with Selection..., with All text..."_qs, u"&Help: &About..."_qs}));
  EXPECT_EQ(form_.Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(form_.Editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(MainFormTest, StatusBarFollowsTheCaretAndTheModifiedFlag) {
  const struct {
    const char* name;
    int width;
    Qt::Alignment align;
  } panels[] = {{"Panel1", 120, Qt::AlignLeft},
                {"Panel2", 60, Qt::AlignHCenter},
                {"Panel3", 50, Qt::AlignLeft}};
  for (const auto& p : panels) {
    SCOPED_TRACE(p.name);
    const QLabel* label = form_.findChild<QLabel*>(QString::fromLatin1(p.name));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->width(), p.width);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, p.align);
  }
  EXPECT_EQ(Panel("Panel1"), u"Line:   1   Col:   1"_qs);
  EXPECT_EQ(Panel("Panel2"), QString());
  Type(u"ab\ncde"_qs);
  EXPECT_EQ(Panel("Panel1"), u"Line:   2   Col:   4"_qs);
  EXPECT_EQ(Panel("Panel2"), u"Modified"_qs);
  form_.findChild<QAction*>(u"WordWap1"_qs)->trigger();
  EXPECT_EQ(form_.Editor()->lineWrapMode(), QTextEdit::NoWrap);
}

TEST_F(MainFormTest, EditActionsFollowTheState) {
  QAction* cut = form_.findChild<QAction*>(u"EditCutItem"_qs);
  QAction* copy = form_.findChild<QAction*>(u"EditCopyItem"_qs);
  QAction* undo = form_.findChild<QAction*>(u"EditUndoItem"_qs);
  EXPECT_FALSE(cut->isEnabled());
  EXPECT_FALSE(copy->isEnabled());
  EXPECT_FALSE(undo->isEnabled());
  Type(u"abc"_qs);
  EXPECT_TRUE(undo->isEnabled());
  QTextCursor c = form_.Editor()->textCursor();
  c.setPosition(0, QTextCursor::KeepAnchor);
  form_.Editor()->setTextCursor(c);
  EXPECT_TRUE(cut->isEnabled());
  EXPECT_TRUE(copy->isEnabled());
  form_.findChild<QAction*>(u"EditFontItem"_qs)->trigger();  // to the selection
  const QTextCharFormat f = form_.Editor()->textCursor().charFormat();
  EXPECT_TRUE(f.fontItalic());
  EXPECT_EQ(f.fontPointSize(), 14.0);
}

TEST_F(MainFormTest, ToolBarFormatsTheSelection) {
  Type(u"one\ntwo"_qs);
  QTextCursor c = form_.Editor()->textCursor();
  c.setPosition(0, QTextCursor::KeepAnchor);
  form_.Editor()->setTextCursor(c);
  for (const char* name :
       {"BoldButton", "ItalicButton", "UnderlineButton", "CenterAlign", "BulletsButton"}) {
    form_.findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  form_.findChild<QSpinBox*>(u"FontSize"_qs)->setValue(20);
  emit form_.findChild<QFontComboBox*>(u"FontName"_qs)->textActivated(u"DejaVu Serif"_qs);
  const QTextDocument& doc = *form_.Editor()->document();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    SCOPED_TRACE(b.text().toStdString());
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ASSERT_NE(b.textList(), nullptr);
    EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
    const QTextCharFormat f = b.begin().fragment().charFormat();
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_TRUE(f.fontItalic());
    EXPECT_TRUE(f.fontUnderline());
    EXPECT_EQ(f.fontPointSize(), 20.0);
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{u"DejaVu Serif"_qs});
  }
  EXPECT_TRUE(form_.findChild<QAction*>(u"BoldButton"_qs)->isChecked());
  form_.findChild<QAction*>(u"BulletsButton"_qs)->trigger();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    EXPECT_EQ(b.textList(), nullptr);
    EXPECT_EQ(b.blockFormat().indent(), 0);
  }
}

// Dragging the markers: the first line keeps its place when the left
// marker moves.
TEST_F(MainFormTest, RulerMarkersSetTheIndents) {
  form_.show();
  Type(u"paragraph"_qs);
  TRuler* ruler = form_.Ruler();
  const auto drag = [ruler](int from_x, int y, int to_x) {
    for (auto [type, x] :
         {std::pair{QEvent::MouseButtonPress, from_x}, std::pair{QEvent::MouseMove, to_x},
          std::pair{QEvent::MouseButtonRelease, to_x}}) {
      const QPointF at(x, y);
      QMouseEvent event(type, at, ruler->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(ruler, &event);
    }
  };
  const int left = ruler->TextLeft();
  drag(left, 2, left + 30);                               // first line
  drag(left, 24, left + 20);                              // left
  drag(ruler->TextRight(), 24, ruler->TextRight() - 15);  // right
  const QTextBlockFormat f = form_.Editor()->textCursor().blockFormat();
  EXPECT_EQ(f.leftMargin(), 20);
  EXPECT_EQ(f.textIndent(), 10);
  EXPECT_EQ(f.rightMargin(), 15);
  EXPECT_EQ(ruler->FirstIndent(), 30);
  EXPECT_EQ(ruler->LeftIndent(), 20);
  EXPECT_EQ(ruler->RightIndent(), 15);
}

TEST_F(MainFormTest, EnterRepeatsTheIndentation) {
  Type(u"  ab"_qs);
  QTextCursor c = form_.Editor()->textCursor();
  c.setPosition(3);
  form_.Editor()->setTextCursor(c);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_qs);
  QCoreApplication::sendEvent(form_.Editor(), &press);
  EXPECT_EQ(Text(), u"  a\n  b"_qs);
}

// Save As: the chosen filter's extension, the format by the extension, the
// title after the written file.
TEST_F(MainFormTest, SaveAsNamesAndFormats) {
  EXPECT_EQ(FileFilters(), QStringList({u"Rich Text Files (*.RTF)"_qs, u"Text Files (*.TXT)"_qs}));
  const struct {
    const char* chosen;
    int filter;
    const char* written;
    bool plain;
  } cases[] = {
      {"N", 2, "N.txt", true},
      {"N", 1, "N.RTF", false},
      {"M.txt", 2, "M.txt", true},  // not "M.txt.txt"
      {"M.rtf", 1, "M.rtf", false},
      {"U.TXT", 2, "U.TXT", false},  // only ".txt" exactly is plain text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    Type(u"第一行\n2"_qs);
    prompts_.save_name = Path(QString::fromLatin1(c.chosen));
    prompts_.save_filter = c.filter;
    ASSERT_TRUE(form_.FileSaveAs());
    const QString written = Path(QString::fromLatin1(c.written));
    EXPECT_EQ(form_.FileName(), written);
    EXPECT_EQ(form_.windowTitle(), QString::fromLatin1(c.written) + u" - Kovra Editor v1.0"_qs);
    EXPECT_FALSE(Modified());
    const QByteArray bytes = ReadFile(written);
    if (c.plain) {
      EXPECT_EQ(bytes, QByteArray("\xB5\xDA\xD2\xBB\xD0\xD0\r\n2"));
    } else {
      EXPECT_TRUE(bytes.startsWith("{\\rtf1")) << bytes.left(20).constData();
    }
    form_.FileNew();
  }
}

TEST_F(MainFormTest, SaveAsTxtThenSaveWritesPlainTextAgain) {
  Type(u"中文"_qs);
  prompts_.save_name = Path(u"N"_qs);
  prompts_.save_filter = 2;
  ASSERT_TRUE(form_.FileSaveAs());
  EXPECT_EQ(ReadFile(Path(u"N.txt"_qs)), QByteArray("\xD6\xD0\xCE\xC4"));
  EXPECT_EQ(form_.windowTitle(), u"N.txt - Kovra Editor v1.0"_qs);
  Type(u"\nmore"_qs);
  ASSERT_TRUE(form_.FileSave());
  EXPECT_EQ(prompts_.save_dialogs, 1);
  EXPECT_EQ(ReadFile(Path(u"N.txt"_qs)), QByteArray("\xD6\xD0\xCE\xC4\r\nmore"));
}

TEST_F(MainFormTest, UpperCaseTxtIsSavedAsRichText) {
  const QString path = Path(u"OLD.TXT"_qs);
  WriteFile(path, "line one\r\nline two\r\n");
  ASSERT_TRUE(form_.OpenFile(path, false));
  EXPECT_EQ(Text(), u"line one\nline two\n"_qs);
  Type(u"x"_qs);
  ASSERT_TRUE(form_.FileSave());
  EXPECT_TRUE(ReadFile(path).startsWith("{\\rtf1"));
  ASSERT_TRUE(form_.OpenFile(path, false));
  EXPECT_EQ(Text(), u"xline one\nline two\n"_qs);
}

TEST_F(MainFormTest, PlainTextRoundTripKeepsEveryByte) {
  const QString path = Path(u"bytes.txt"_qs);
  const QByteArray bytes("a\xD6\xD0\r\n\x81\xFF z\r\n\r\nend", 17);
  WriteFile(path, bytes);
  ASSERT_TRUE(form_.OpenFile(path, false));
  form_.Editor()->document()->setModified(true);
  ASSERT_TRUE(form_.FileSave());
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(MainFormTest, RichTextRoundTripThroughTheWindow) {
  Type(u"plain "_qs);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  QTextCursor c = form_.Editor()->textCursor();
  c.insertText(u"粗体"_qs, bold);
  prompts_.save_name = Path(u"doc"_qs);
  ASSERT_TRUE(form_.FileSaveAs());
  form_.FileNew();
  ASSERT_TRUE(form_.OpenFile(Path(u"doc.RTF"_qs), false));
  EXPECT_EQ(Text(), u"plain 粗体"_qs);
  QTextCursor at(form_.Editor()->document());
  at.setPosition(8);
  EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
  at.setPosition(2);
  EXPECT_EQ(at.charFormat().fontWeight(), QFont::Normal);
}

TEST_F(MainFormTest, OverwriteNeedsYes) {
  const struct {
    TAnswer answer;
    bool written;
  } cases[] = {{TAnswer::kNo, false}, {TAnswer::kCancel, false}, {TAnswer::kYes, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    WriteFile(Path(u"exists.txt"_qs), "old");
    form_.Editor()->document()->setModified(false);
    form_.FileNew();
    Type(u"new"_qs);
    prompts_.save_name = Path(u"exists"_qs);
    prompts_.save_filter = 2;
    prompts_.questions.clear();
    prompts_.answers = {c.answer};
    EXPECT_EQ(form_.FileSaveAs(), c.written);
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0], u"OK to overwrite "_qs + Path(u"exists.txt"_qs));
    EXPECT_EQ(ReadFile(Path(u"exists.txt"_qs)), c.written ? QByteArray("new") : QByteArray("old"));
    EXPECT_EQ(form_.FileName(), c.written ? Path(u"exists.txt"_qs) : u"Untitled"_qs);
    EXPECT_EQ(Modified(), !c.written);
  }
}

// The unsaved-changes question before Open, New, a drop and closing.
TEST_F(MainFormTest, UnsavedChangesQuestion) {
  const QString other = Path(u"other.txt"_qs);
  const QString saved = Path(u"saved.txt"_qs);
  WriteFile(other, "other text");
  enum TAction { kOpen, kNew, kDrop, kClose };
  const struct {
    const char* name;
    TAction action;
    bool named;  // the text has a file of its own, else it is Untitled
    TAnswer answer;
    bool save_dialog_ok;
    bool goes_on;  // the action happened
    bool saved;    // the text was written first
  } cases[] = {
      {"open, cancel", kOpen, true, TAnswer::kCancel, true, false, false},
      {"open, no", kOpen, true, TAnswer::kNo, true, true, false},
      {"open, yes", kOpen, true, TAnswer::kYes, true, true, true},
      {"open, yes, untitled, save dialog cancelled", kOpen, false, TAnswer::kYes, false, false,
       false},
      {"open, yes, untitled, saved as", kOpen, false, TAnswer::kYes, true, true, true},
      {"new, cancel", kNew, true, TAnswer::kCancel, true, false, false},
      {"new, no", kNew, true, TAnswer::kNo, true, true, false},
      {"drop, cancel", kDrop, true, TAnswer::kCancel, true, false, false},
      {"drop, yes", kDrop, true, TAnswer::kYes, true, true, true},
      {"close, cancel", kClose, true, TAnswer::kCancel, true, false, false},
      {"close, no", kClose, true, TAnswer::kNo, true, true, false},
      {"close, yes, untitled, save dialog cancelled", kClose, false, TAnswer::kYes, false, false,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(saved);
    form_.Editor()->document()->setModified(false);
    form_.FileNew();
    if (c.named) {
      WriteFile(saved, "");
      ASSERT_TRUE(form_.OpenFile(saved, false));
      QFile::remove(saved);
    }
    Type(u"edited"_qs);
    prompts_.questions.clear();
    prompts_.answers = {c.answer};
    prompts_.open_name = other;
    prompts_.save_name = c.save_dialog_ok ? Path(u"saved"_qs) : QString();
    prompts_.save_filter = 2;
    bool closed = false;
    switch (c.action) {
      case kOpen:
        form_.FileOpen();
        break;
      case kNew:
        form_.FileNew();
        break;
      case kDrop:
        form_.OpenDroppedFile(other);
        break;
      case kClose: {
        QCloseEvent close;
        QCoreApplication::sendEvent(&form_, &close);
        closed = close.isAccepted();
        break;
      }
    }
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0],
              u"Save changes to "_qs + (c.named ? saved : u"Untitled"_qs) + u"?"_qs);
    EXPECT_EQ(QFile::exists(saved), c.saved);
    if (c.saved) {
      EXPECT_EQ(ReadFile(saved), QByteArray("edited"));
    }
    bool happened = false;
    switch (c.action) {
      case kOpen:
      case kDrop:
        happened = Text() == u"other text"_qs;
        break;
      case kNew:
        happened = Text().isEmpty();
        break;
      case kClose:
        happened = closed;
        break;
    }
    EXPECT_EQ(happened, c.goes_on);
    if (!c.goes_on) {
      EXPECT_EQ(Text(), u"edited"_qs);
    }
  }
  // Nothing modified: no question at all.
  form_.Editor()->document()->setModified(false);
  form_.FileNew();
  prompts_.questions.clear();
  form_.FileOpen();
  form_.FileNew();
  QCloseEvent close;
  QCoreApplication::sendEvent(&form_, &close);
  EXPECT_TRUE(close.isAccepted());
  EXPECT_TRUE(prompts_.questions.empty());
}

TEST_F(MainFormTest, ReadOnlyOpenAndNew) {
  const QString path = Path(u"ro.txt"_qs);
  WriteFile(path, "fixed");
  prompts_.open_name = path;
  prompts_.open_read_only = true;
  form_.FileOpen();
  EXPECT_TRUE(form_.Editor()->isReadOnly());
  EXPECT_FALSE(form_.findChild<QAction*>(u"EditPasteItem"_qs)->isEnabled());
  form_.FileNew();
  EXPECT_FALSE(form_.Editor()->isReadOnly());
  prompts_.open_read_only = false;
  form_.FileOpen();
  EXPECT_FALSE(form_.Editor()->isReadOnly());
}

TEST_F(MainFormTest, FileErrorsKeepNameAndText) {
  Type(u"keep me"_qs);
  EXPECT_FALSE(form_.OpenFile(Path(u"missing.rtf"_qs), false));
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_TRUE(prompts_.errors[0].startsWith(u"Cannot open file \""_qs + Path(u"missing.rtf"_qs)));
  EXPECT_EQ(Text(), u"keep me"_qs);
  EXPECT_EQ(form_.FileName(), u"Untitled"_qs);

  prompts_.save_name = Path(u"no/such/folder/x"_qs);
  EXPECT_FALSE(form_.FileSaveAs());
  ASSERT_EQ(prompts_.errors.size(), 2u);
  EXPECT_TRUE(prompts_.errors[1].startsWith(u"Cannot create file"_qs));
  EXPECT_EQ(form_.FileName(), u"Untitled"_qs);
  EXPECT_TRUE(Modified());
}

TEST_F(MainFormTest, DroppedFileOpens) {
  const QString path = Path(u"dropped.txt"_qs);
  WriteFile(path, "from a drop");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  QWidget* target = form_.Editor()->viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDragMoveEvent move(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  EXPECT_EQ(form_.FileName(), path);
  EXPECT_EQ(Text(), u"from a drop"_qs);
}

TEST_F(MainFormTest, PrintsToPdf) {
  Type(u"printed 中文"_qs);
  prompts_.save_name = Path(u"job"_qs);
  ASSERT_TRUE(form_.FileSaveAs());
  prompts_.pdf = Path(u"out.pdf"_qs);
  form_.findChild<QAction*>(u"FilePrintItem"_qs)->trigger();
  EXPECT_EQ(prompts_.printed_doc_name, Path(u"job.RTF"_qs));
  const QByteArray pdf = ReadFile(prompts_.pdf);
  EXPECT_TRUE(pdf.startsWith("%PDF")) << pdf.left(10).constData();
  EXPECT_GT(pdf.size(), 500);
}

bool AllBlack(const QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().foreground().color() != QColor(Qt::black)) return false;
    }
  }
  return true;
}

QColor ColorAt(const QTextDocument& doc, int position) {
  QTextCursor c(const_cast<QTextDocument*>(&doc));
  c.setPosition(position + 1);
  return c.charFormat().foreground().color();
}

// "Script" → "with Selection...": the selection red while the Run Script
// window is open (and the script runs), the result in place of the
// selection after "OK", then all black with the caret at the start.
TEST_F(MainFormTest, ScriptWithSelectionRedDuringTheRunBlackAfter) {
  TScriptForm script(form_.Editor(), &form_);
  form_.SetScriptForm(&script);
  Type(u"keep this part"_qs);
  form_.Editor()->document()->setModified(false);
  QTextCursor c = form_.Editor()->textCursor();
  c.setPosition(5);
  c.setPosition(9, QTextCursor::KeepAnchor);
  form_.Editor()->setTextCursor(c);

  bool checked = false;
  QTimer::singleShot(0, &script, [&] {
    const QTextDocument& doc = *form_.Editor()->document();
    EXPECT_EQ(script.property("Tag").toInt(), 1);
    script.Editor()->setPlainText(u"[script]result := fnupcase(result);[/script]"_qs);
    script.RunClick();
    EXPECT_EQ(ColorAt(doc, 5), QColor(Qt::red));
    EXPECT_EQ(ColorAt(doc, 8), QColor(Qt::red));
    EXPECT_NE(ColorAt(doc, 4), QColor(Qt::red));
    EXPECT_NE(ColorAt(doc, 9), QColor(Qt::red));
    EXPECT_TRUE(test::WaitForSignal(&script, &TScriptForm::RunFinished));
    EXPECT_EQ(ColorAt(doc, 5), QColor(Qt::red));
    EXPECT_EQ(script.Result()->toPlainText(), u"THIS"_qs);
    checked = true;
    script.findChild<QPushButton*>(u"Button1"_qs)->click();
  });
  form_.findChild<QAction*>(u"withSelection1"_qs)->trigger();
  EXPECT_TRUE(checked);
  EXPECT_EQ(Text(), u"keep THIS part"_qs);
  EXPECT_TRUE(AllBlack(*form_.Editor()->document()));
  EXPECT_EQ(form_.Editor()->textCursor().position(), 0);
  EXPECT_FALSE(form_.Editor()->textCursor().hasSelection());
  EXPECT_TRUE(Modified());

  // Closed without "OK": the text stays and the marking is no edit.
  form_.Editor()->document()->setModified(false);
  QTimer::singleShot(0, &script, [&] { script.findChild<QPushButton*>(u"Close"_qs)->click(); });
  form_.findChild<QAction*>(u"withAlltext1"_qs)->trigger();
  EXPECT_EQ(script.property("Tag").toInt(), 0);
  EXPECT_EQ(Text(), u"keep THIS part"_qs);
  EXPECT_TRUE(AllBlack(*form_.Editor()->document()));
  EXPECT_FALSE(Modified());
}

}  // namespace
}  // namespace kovra
