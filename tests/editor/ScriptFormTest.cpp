#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "EditorText.h"
#include "UnitScriptForm.h"
#include "editor/QtTestApp.h"

namespace kovra {
namespace {

using test::TestApp;

constexpr auto kUpcase = "[script]\r\nresult := fnupcase(result);\r\n[/script]";

class ScriptFormTest : public ::testing::Test {
 protected:
  ScriptFormTest() : app_(TestApp()), form_(&main_) {}

  void SetMain(const QString& text, int anchor, int caret) {
    main_.setPlainText(text);
    QTextCursor c(main_.document());
    c.setPosition(anchor);
    c.setPosition(caret, QTextCursor::KeepAnchor);
    main_.setTextCursor(c);
  }

  QPushButton* Button(const char* name) {
    return form_.findChild<QPushButton*>(QString::fromLatin1(name));
  }

  // Runs the script over the data of the form's Tag and waits for the result.
  QString Run(const QString& script) {
    form_.Editor()->setPlainText(script);
    form_.RunClick();
    EXPECT_TRUE(form_.IsRunning());
    EXPECT_TRUE(test::WaitForSignal(&form_, &TScriptForm::RunFinished));
    return DocumentText(*form_.Result()->document());
  }

  QApplication& app_;
  QTextEdit main_;
  TScriptForm form_;
};

TEST_F(ScriptFormTest, StartsAndClearsToTheThirteenLines) {
  const QString lines =
      u"var\r\n\r\nendvar\r\n\r\n\r\n\r\n[script]\r\n\r\n\r\n\r\n\r\n\r\n[/script]"_qs;
  EXPECT_EQ(form_.windowTitle(), u"Run Script"_qs);
  EXPECT_EQ(form_.size(), QSize(621, 533));
  EXPECT_TRUE(form_.windowFlags() & Qt::WindowStaysOnTopHint);
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {{"Run", "Run"},
                 {"Button1", "OK"},
                 {"Close", "Close"},
                 {"Clear", "<< Clear"},
                 {"Button2", "Clear"}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.name);
    ASSERT_NE(Button(b.name), nullptr);
    EXPECT_EQ(Button(b.name)->text(), QString::fromLatin1(b.caption));
  }
  for (const QTextEdit* box : {form_.Editor(), form_.Result()}) {
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
  EXPECT_EQ(form_.Editor()->objectName(), u"Editor"_qs);
  EXPECT_EQ(form_.Result()->objectName(), u"Result"_qs);
  EXPECT_EQ(DocumentText(*form_.Editor()->document()), lines);
  form_.Editor()->setPlainText(u"something else\nentirely"_qs);
  Button("Clear")->click();
  EXPECT_EQ(DocumentText(*form_.Editor()->document()), lines);
  EXPECT_EQ(form_.Editor()->document()->blockCount(), 13);

  form_.Result()->setPlainText(u"old result"_qs);
  Button("Button2")->click();
  EXPECT_TRUE(form_.Result()->toPlainText().isEmpty());
}

// Describes a menu as "Caption tag|Caption tag|-|...", submenus by title.
QString Describe(const QMenu* menu) {
  QStringList items;
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      items << u"-"_qs;
    } else if (a->menu() != nullptr) {
      items << a->text() + u" {"_qs + Describe(a->menu()) + u"}"_qs;
    } else {
      items << a->text() + u" "_qs + a->property("Tag").toString();
    }
  }
  return items.join(u'|');
}

TEST_F(ScriptFormTest, MenusHaveTheCaptionsAndTags) {
  const struct {
    const char* menu;
    const char* items;
  } menus[] = {
      {"Pos",
       "PosCharA 3|PosChar 3|PosIgnChar 2|PosIgnCharA 3|PosRIgnChar 2|PosLongChar 4|PosLongCharC 4|"
       "PosForwardChar 3|PosForwardLongChar 3|PosForwardLongCharA 3|PosE 3|PosA 3|-|"
       "PosMatchLongChar -5|PosMaybeLongCharA -5|PosLongChar_IgnSepLongChar -6"},
      {"Copy",
       "CopyC 3|CopyQi 3|CopyQs 3|CopyQsIn 4|CopyQs_Match 4|CopyQs_Htm 2|CopyQs_HtmIn "
       "3|-|CopyQs_IgnA -8"},
      {"Trim",
       "TrimCharA 2|TrimSpace 1|TrimLRSpace 1|TrimEReturn 1|TrimLREReturn 1|TrimTab 1|"
       "TrimLRSpaceEReturn 1|TrimWithKovra 1|TrimLRBracketsChr 3|TrimLeft 1|TrimRight 1|TrimSub 3|"
       "TrimMatchSub 3|TrimHtm 1"},
      {"is", "IsMatch 2|IsPosAt 3|IsCharIn 2|IsLongCharIn 2|FnOneDomain 2|FnItMatch 2"},
      {"GetData", "FnDeDomain 1|FnFullDomain 1|ExchangeLongChar 5"},
      {"X2Y", "FnIntTostr 1|FnStrToInt 1"},
      {"Case", "FnLowerCase 1|FnUpCase 1"},
      {"calc", "inc 1|dec 1"},
      {"IdHttp",
       "Property Read/Write {Bool {HandleRedirects 0|AllowCookies 0}|"
       "Integer {Authretries 1|RedirectMaximum 1|-|Port 1|BoundPort 1|BoundPortMax 1|BoundPortMin "
       "1}|"
       "String {Request.Referer 2|Request.ContentType 2|Request.Customheaders.Text "
       "2|Request.Accept 2|"
       "Request.AcceptCharset 2|Request.AcceptEncoding 2|Request.AcceptLanguage "
       "2|Request.ProxyConnection 2|"
       "Request.Pragma 2|-|Request.Host 2|Request.From 2|Request.UserAgent 2|Request.Password 2|"
       "Request.UserName 2|-|Host 2|BoundIP 2}|xString {HttpOptions 3|ProtocolVersion 3}}|Get "
       "|Post "},
  };
  const QMenuBar* bar = form_.findChild<QMenuBar*>(u"MainMenu1"_qs);
  ASSERT_NE(bar, nullptr);
  QStringList titles;
  for (const QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({u"Pos"_qs, u"Copy"_qs, u"Trim"_qs, u"is"_qs, u"GetData"_qs,
                                 u"X2Y"_qs, u"Case"_qs, u"calc"_qs, u"IdHttp"_qs}));
  for (const auto& m : menus) {
    SCOPED_TRACE(m.menu);
    const QMenu* menu = bar->findChild<QMenu*>(QString::fromLatin1(m.menu));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Describe(menu), QString::fromLatin1(m.items));
  }
}

// Every item inserts its template at the caret of an empty Editor.
TEST_F(ScriptFormTest, EveryItemInsertsItsTemplate) {
  const QMenuBar* bar = form_.findChild<QMenuBar*>(u"MainMenu1"_qs);
  int checked = 0;
  for (QMenu* menu : bar->findChildren<QMenu*>()) {
    for (QAction* item : menu->actions()) {
      if (item->isSeparator() || item->menu() != nullptr) continue;
      SCOPED_TRACE(item->text().toStdString());
      form_.Editor()->clear();
      item->trigger();
      const int tag = item->property("Tag").toInt();
      QString expected;
      if (item->text() == u"Get"_qs) {
        expected = GetTemplate();
      } else if (item->text() == u"Post"_qs) {
        expected = PostTemplate();
      } else if (menu->parent() != bar) {
        expected = PropertyTemplate(item->text(), tag);
      } else {
        expected = FunctionTemplate(item->text(), tag);
      }
      EXPECT_EQ(form_.Editor()->toPlainText(), expected);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 80);
  // Spot checks of the exact texts.
  const struct {
    const char* item;
    const char* text;
  } spots[] = {
      {"PosChar", " := PosChar(  ,  ,  );"},
      {"CopyQs_IgnA", "CopyQs_IgnA(  ,  ,  ,  ,  ,  ,  ,  );"},
      {"inc", " := inc(  );"},
      {"AllowCookies", "IdHttp( 'Read' , 'AllowCookies' , varString_Bool );"},
      {"BoundPortMin", "IdHttp( 'Read' , 'BoundPortMin' , varInteger );"},
      {"Request.Customheaders.Text",
       "IdHttp( 'Read' , 'Request.Customheaders.Text' , varString );"},
      {"ProtocolVersion", "IdHttp( 'Read' , 'ProtocolVersion' , varString );"},
  };
  for (const auto& s : spots) {
    form_.Editor()->clear();
    form_.findChild<QAction*>(QString::fromLatin1(s.item))->trigger();
    EXPECT_EQ(form_.Editor()->toPlainText(), QString::fromLatin1(s.text));
  }
}

TEST_F(ScriptFormTest, TemplateGoesInAtTheCaretColumnKeepingTheSelection) {
  QTextEdit* editor = form_.Editor();
  editor->setPlainText(u"abc\ndefgh\nxyz"_qs);
  QTextCursor c(editor->document());
  c.setPosition(6);
  c.setPosition(8, QTextCursor::KeepAnchor);  // "fg"
  editor->setTextCursor(c);
  form_.findChild<QAction*>(u"TrimSpace"_qs)->trigger();
  EXPECT_EQ(editor->toPlainText(), u"abc\nde := TrimSpace(  );fgh\nxyz"_qs);
  EXPECT_EQ(editor->textCursor().selectedText(), u"fg"_qs);
  EXPECT_EQ(editor->textCursor().position(), 6 + 18);
}

TEST_F(ScriptFormTest, EnterIndentsInBothBoxes) {
  for (QTextEdit* box : {form_.Editor(), form_.Result()}) {
    SCOPED_TRACE(box->objectName().toStdString());
    box->setPlainText(u"[script]\n    x := 1;"_qs);
    QTextCursor end(box->document());
    end.movePosition(QTextCursor::End);
    box->setTextCursor(end);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_qs);
    QCoreApplication::sendEvent(box, &press);
    EXPECT_EQ(box->toPlainText(), u"[script]\n    x := 1;\n    "_qs);
  }
}

// "OK" puts the result text into the main editor by the Tag.
TEST_F(ScriptFormTest, OkPutsTheResultWhereTheTagSays) {
  const struct {
    int tag;
    QString expected;
  } cases[] = {{0, u"X\nY"_qs}, {1, u"hello X\nY!"_qs}, {7, u"hello world!"_qs}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    SetMain(u"hello world!"_qs, 6, 11);
    form_.setProperty("Tag", c.tag);
    form_.Result()->setPlainText(u"X\r\nY"_qs);
    form_.Button1Click();
    EXPECT_EQ(main_.toPlainText(), c.expected);
  }
}

TEST_F(ScriptFormTest, OkButtonClosesTheWindowAccepted) {
  SetMain(u"abc"_qs, 0, 0);
  form_.setProperty("Tag", 0);
  form_.Result()->setPlainText(u"new"_qs);
  QTimer::singleShot(0, Button("Button1"), &QPushButton::click);
  EXPECT_EQ(form_.exec(), QDialog::Accepted);
  EXPECT_EQ(main_.toPlainText(), u"new"_qs);
  QTimer::singleShot(0, Button("Close"), &QPushButton::click);
  EXPECT_EQ(form_.exec(), QDialog::Rejected);
  EXPECT_EQ(form_.Result()->toPlainText(), u"new"_qs);  // the texts stay for the next showing
}

// Data by the Tag, through the engine's ScriptDeData in code page 936.
TEST_F(ScriptFormTest, RunTakesTheDataByTheTag) {
  const struct {
    int tag;
    QString expected;
  } cases[] = {{0, u"中文 ABC\r\nDEF"_qs}, {1, u"ABC\r\nD"_qs}, {3, QString()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    SetMain(u"中文 abc\ndef"_qs, 3, 8);
    form_.setProperty("Tag", c.tag);
    EXPECT_EQ(Run(QString::fromLatin1(kUpcase)), c.expected);
    EXPECT_FALSE(form_.IsRunning());
  }
}

TEST_F(ScriptFormTest, FailedScriptShowsTheErrorText) {
  SetMain(u"data"_qs, 0, 0);
  form_.setProperty("Tag", 0);
  const QString result = Run(u"[script]\r\nnosuchthing;\r\n[/script]"_qs);
  EXPECT_TRUE(result.contains(u"语句开始位置："_qs)) << result.toStdString();
}

// An endless script runs until Stop, while the window stays responsive;
// the next run is not stopped.
TEST_F(ScriptFormTest, StopEndsAnEndlessScript) {
  SetMain(u"data"_qs, 0, 0);
  form_.setProperty("Tag", 0);
  form_.Editor()->setPlainText(
      u"var\r\ni:integer;\r\nendvar\r\n[script]\r\nwhile true do begin inc(i); end;\r\n[/script]"_qs);
  form_.RunClick();
  ASSERT_TRUE(form_.IsRunning());
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(form_.IsRunning());
  EXPECT_FALSE(Button("Run")->isEnabled());
  EXPECT_FALSE(Button("Button1")->isEnabled());
  EXPECT_FALSE(Button("Close")->isEnabled());
  EXPECT_TRUE(Button("Stop")->isEnabled());
  form_.reject();    // the window does not close under a run
  form_.RunClick();  // nor starts a second one
  EXPECT_TRUE(form_.IsRunning());

  QTimer::singleShot(0, Button("Stop"), &QPushButton::click);
  ASSERT_TRUE(test::WaitForSignal(&form_, &TScriptForm::RunFinished));
  const QString stopped = DocumentText(*form_.Result()->document());
  EXPECT_TRUE(stopped.startsWith(u"脚本已被中止\r\n语句开始位置："_qs)) << stopped.toStdString();
  EXPECT_TRUE(Button("Run")->isEnabled());
  EXPECT_FALSE(Button("Stop")->isEnabled());

  EXPECT_EQ(Run(QString::fromLatin1(kUpcase)), u"DATA"_qs);
}

// A msg box asked by a running script is shown by the window's thread, which
// keeps its event loop turning, and the answer reaches the script.
TEST_F(ScriptFormTest, MsgBoxAnswersDuringARun) {
  SetMain(u"data"_qs, 0, 0);
  form_.setProperty("Tag", 0);
  QString caption, text;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box == nullptr || !box->isVisible()) continue;
      caption = box->windowTitle();
      text = box->text();
      poll.stop();
      box->button(QMessageBox::No)->click();
    }
  });
  poll.start(5);
  EXPECT_EQ(Run(u"[script]\r\nresult := msg('Title', 'Go on?');\r\n[/script]"_qs), u"7"_qs);
  EXPECT_EQ(caption, u"Title"_qs);
  EXPECT_EQ(text, u"Go on?"_qs);
}

}  // namespace
}  // namespace kovra
