// The header editor window: line displays refreshed by every input, loading
// and composing, and the extra framing layer of a round trip.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest/QTest>

#include "WindowsTestSupport.h"
#include "library/ksEditor.h"
#include "windows/WindowLook.h"
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

// Each header row: its label, input, line display and tip at their places.
TEST_F(ksEditorFrmTest, HeaderRowsAsLaidOut) {
  struct Row {
    int top;
    const char16_t* label;
    QWidget* input;
    const char* name;
    int width;
    const char16_t* tip;
    QStringList items = {};  // empty for an edit
  };
  TksEditorFrm& f = *editor_;
  const QStringList modes{"ExactMatch", "xMatchLong", "xMatchShort"};
  const QStringList points{"Auto", "NowDocunent"};
  const QStringList booleans{"False", "True"};
  const Row rows[] = {
      {16, u"Parser Version", f.EdParsersVersion, "EdParsersVersion", 201,
       u"必须，声明使用的解析器版本"},
      {40, u"Name", f.EdName, "EdName", 215,
       u"必须，这个脚本的名字。用于调用这个脚本。必须与其他脚本的名字不同！"},
      {64, u"Match Url", f.EdMatchUrl, "EdMatchUrl", 215,
       u"必须，当前脚本匹配的网址。可用+号分隔。如'Url1'+'Url2'+'Url3'"},
      {88, u"Match mode", f.cbMatchMode, "cbMatchMode", 217,
       u"必须，网址匹配模式：短匹配/长匹配/完全匹配", modes},
      {112, u"Entry point", f.cbEntryPoint, "cbEntryPoint", 217,
       u"必须，自动拦截（针对匹配网址）/手动（针对当前页）", points},
      {136, u"Need Result", f.cbNeedResult, "cbNeedResult", 217, u"必须，声明是否需要返回数据",
       booleans},
      {160, u"Result to New page", f.cbResultToNewPage, "cbResultToNewPage", 217,
       u"在NeedResult为True时有效，声明是否返回数据到新页面", booleans},
  };
  auto edit_at = [&](int left, int top) -> QLineEdit* {
    for (QLineEdit* e : f.gb1->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
      if (e->x() == left && e->y() == top) return e;
    }
    return nullptr;
  };
  for (int tag = 0; tag < kHeaderRows; ++tag) {
    const Row& row = rows[tag];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.input->objectName(), QString::fromLatin1(row.name));
    EXPECT_EQ(row.input->geometry(), QRect(136, row.top, row.width, 21));
    EXPECT_EQ(Tag(row.input), tag);
    EXPECT_TRUE(row.input->font().bold());
    if (auto* list = qobject_cast<QComboBox*>(row.input)) {
      EXPECT_FALSE(list->isEditable());
      QStringList items;
      for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
      EXPECT_EQ(items, row.items);
    }
    QLineEdit* label = edit_at(8, row.top);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf16(row.label));
    EXPECT_EQ(label->width(), 129);
    EXPECT_FALSE(label->isEnabled());
    EXPECT_TRUE(label->font().bold());
    QLineEdit* line = f.Lines[static_cast<size_t>(tag)];
    EXPECT_EQ(line->objectName(), QStringLiteral("e%1").arg(tag));
    EXPECT_EQ(line->geometry(), QRect(360, row.top, 258, 21));
    EXPECT_TRUE(line->isReadOnly());
    EXPECT_TRUE(line->font().bold());
    EXPECT_EQ(line->palette().color(QPalette::Base), QColor(192, 220, 192));
    QLineEdit* tip = edit_at(623, row.top);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), QString::fromUtf16(row.tip));
    EXPECT_EQ(tip->geometry(), QRect(623, row.top, 434, 21));
    EXPECT_TRUE(tip->isReadOnly());
    EXPECT_EQ(tip->palette().color(QPalette::Text), QColor(Qt::red));
  }
  EXPECT_EQ(f.gb1->height(), 193);
  EXPECT_EQ(f.gb2->width(), 201);
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
