// The header editor window: line displays refreshed by every input, loading
// and composing, and the extra framing layer of a round trip.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest/QTest>

#include "WindowsTestSupport.h"
#include "library/ksEditor.h"
#include "windows/ksEditorFormWindow.h"

namespace kovra {
namespace {

std::vector<QString> LineTexts(const TksEditorFrm& f) {
  std::vector<QString> texts;
  for (const QLineEdit* line : f.Lines) texts.push_back(line->text());
  return texts;
}

class ksEditorFrmTest : public testing::Test {
 protected:
  void SetUp() override {
    test::App();
    editor_ = std::make_unique<TksEditorFrm>(nullptr);
  }
  std::unique_ptr<TksEditorFrm> editor_;
};

TEST_F(ksEditorFrmTest, EmptyTextGivesTheDefaults) {
  editor_->LoadFromText(u"[Script][Header Message]Name=x;[/Header Message][/Script]");
  editor_->MemoVariant->setPlainText(QStringLiteral("left over"));
  editor_->LoadFromText(u"");
  EXPECT_EQ(LineTexts(*editor_),
            (std::vector<QString>{"Parsers Version = v 1 ;", "Name = de_nowage ;",
                                  "Match Url = 'NowPage' ;", "Match Mode = xMatchLong ;",
                                  "Entry Point = Auto ;", "Need Result = True ;",
                                  "Result to New Page = False ;"}));
  EXPECT_TRUE(editor_->MemoVariant->toPlainText().isEmpty());
  EXPECT_TRUE(editor_->MemoContent->toPlainText().isEmpty());
  EXPECT_EQ(editor_->windowTitle(), QStringLiteral("KScript Editor for Kovra 2010 v0.1"));
  EXPECT_EQ(editor_->findChild<QGroupBox*>("gb1")->title(),
            QStringLiteral("          Header Message          "));
}

TEST_F(ksEditorFrmTest, InputsRefreshTheirLines) {
  editor_->show();
  QLineEdit* version = editor_->EdParsersVersion;
  version->clear();
  QTest::keyClicks(version, QStringLiteral("1.2a"));
  EXPECT_EQ(editor_->Lines[0]->text(),
            QStringLiteral("Parsers Version = v 1.2 ;"));  // the last valid text
  version->clear();
  QTest::keyClicks(version, QStringLiteral("2.0"));
  EXPECT_EQ(editor_->Lines[0]->text(), QStringLiteral("Parsers Version = v 2.0 ;"));
  version->setText(QStringLiteral("v3"));
  EXPECT_EQ(editor_->Lines[0]->text(), QStringLiteral("Parsers Version = v 2.0 ;"));

  editor_->cbEntryPoint->setCurrentIndex(
      editor_->cbEntryPoint->findText(QStringLiteral("NowDocunent")));
  EXPECT_EQ(editor_->Lines[4]->text(), QStringLiteral("Entry Point = NowDocunent ;"));
  editor_->SetList(editor_->cbNeedResult, 7);  // outside the items: selection stays
  EXPECT_EQ(editor_->cbNeedResult->currentIndex(), 1);
  QTest::keyClicks(editor_->EdName, QStringLiteral("X"));
  EXPECT_EQ(editor_->Lines[1]->text(), QStringLiteral("Name = de_nowageX ;"));

  // The composed text takes the lines, not the inputs.
  const std::u16string text = editor_->ComposeText();
  EXPECT_NE(text.find(u"    Parsers Version = v 2.0 ;\r\n    Name = de_nowageX ;"),
            std::u16string::npos);
  EXPECT_EQ(text.find(u"v3"), std::u16string::npos);
}

TEST_F(ksEditorFrmTest, RoundTripAddsOneFramingLayer) {
  TScriptHeader h;
  h.Name = u"site";
  h.MatchUrl = u"'site.test'";
  h.EntryPoint = TEntryPoint::NowDocunent;
  h.NeedResult = false;
  h.DefineVariant = u"s:string;";
  h.ScriptContent = u"s := url;\r\nresult := s;";
  const std::u16string produced = ComposeScriptText(h);

  editor_->LoadFromText(produced);
  EXPECT_EQ(editor_->EdName->text(), QStringLiteral("site"));
  EXPECT_EQ(editor_->cbEntryPoint->currentIndex(), 1);
  EXPECT_EQ(editor_->cbNeedResult->currentIndex(), 0);
  EXPECT_TRUE(editor_->MatchUrlGiven());
  const std::u16string again = editor_->ComposeText();

  const TScriptHeader before = ParseScriptText(produced);
  const TScriptHeader after = ParseScriptText(again);
  EXPECT_EQ(after.Name, before.Name);
  EXPECT_EQ(after.MatchUrl, before.MatchUrl);
  EXPECT_EQ(after.EntryPoint, before.EntryPoint);
  EXPECT_EQ(after.NeedResult, before.NeedResult);
  // Two more empty lines in front, four more spaces on every line.
  EXPECT_EQ(before.ScriptContent, u"\r\n\r\n    s := url;\r\n    result := s;\r\n\r\n  ");
  EXPECT_EQ(after.ScriptContent,
            u"\r\n\r\n    \r\n    \r\n        s := url;\r\n        result := s;\r\n    \r\n      "
            u"\r\n\r\n  ");
  EXPECT_TRUE(again.starts_with(
      u"[Script]\r\n\r\n  [Header Message]\r\n\r\n    Parsers Version = v 1 ;\r\n"));
  EXPECT_TRUE(again.ends_with(u"  [/Script Content]\r\n\r\n[/Script]"));
}

}  // namespace
}  // namespace kovra
