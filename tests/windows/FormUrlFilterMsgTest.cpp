// The intercept report dialog and the ask step with real windows: the four
// answers, the black list, the script manager for the page, and the
// dialog's fixed height.
#include <QFrame>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "TestSupport.h"
#include "WindowsTestSupport.h"
#include "library/UnitFormUrlFilterMsg.h"
#include "library/UnitTScriptLibrary.h"
#include "windows/KovraWindows.h"
#include "windows/UnitFormUrlFilterMsgWindow.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitTMyEdit.h"
#include "windows/UnitTScriptEditors.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

namespace fs = std::filesystem;

class FormUrlFilterMsgTest : public testing::Test {
 protected:
  void SetUp() override {
    test::App();
    dir_ = test::TempEngineFolder();
    library_ = std::make_unique<TScriptLibrary>(dir_);
    editors_ = std::make_unique<TScriptEditors>(*library_);
    asker_ = MakeInterceptAsker(*library_, *editors_);
  }
  void TearDown() override {
    asker_.reset();
    editors_.reset();
    library_.reset();
    fs::remove_all(dir_);
  }

  // isInFilters' ask step for a jump from the parent page to the target.
  int32_t Ask(const std::string& target, TFilterCheck& rec) {
    rec.ParentUrl = parent_.get();
    return asker_->AskUser(target, rec);
  }

  const kovra_test::THostString parent_{"http://news.site.test/a.html"};
  fs::path dir_;
  std::unique_ptr<TScriptLibrary> library_;
  std::unique_ptr<TScriptEditors> editors_;
  std::unique_ptr<TAskUser> asker_;
};

TEST_F(FormUrlFilterMsgTest, AnswersByButton) {
  struct Case {
    const char* button;  // null: closed by the title bar
    int32_t answer;
  };
  const Case cases[] = {{"btnOk", 0},
                        {"btnCancel", -1},
                        {"btnSetFilters", -1},
                        {"btnAddToBlackList", -1},
                        {nullptr, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button == nullptr ? "closed" : c.button);
    QString source, target, caption;
    test::TModalAnswerer answer([&](QWidget* modal) {
      auto* dialog = qobject_cast<TFormUrlFilterMsg*>(modal);
      ASSERT_NE(dialog, nullptr);
      caption = dialog->windowTitle();
      source = dialog->EdSrc->text();
      target = dialog->EdBreak->text();
      if (c.button == nullptr) {
        dialog->close();
      } else {
        dialog->findChild<QPushButton*>(c.button)->click();
      }
    });
    TFilterCheck rec{};
    rec.ScriptId = 0;
    EXPECT_EQ(Ask("http://pop.ads.test/x", rec), c.answer);
    EXPECT_EQ(answer.seen, 1);
    EXPECT_EQ(rec.Asked, -1);
    EXPECT_EQ(caption, QStringLiteral("来自 Kovra Engine 的拦截报告！"));
    EXPECT_EQ(source, QStringLiteral("http://news.site.test/a.html"));
    EXPECT_EQ(target, QStringLiteral("http://pop.ads.test/x"));
    // Once "为当前网站设定过滤规则..." opened a window for the page, later
    // questions go to that window.
    if (editors_->FCount() > 0) break;
  }
  ASSERT_EQ(editors_->FCount(), 1);
  const TFrmScriptEditor* w = editors_->Window(0);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(TFrmScriptEditor::ListModel(w->Ln2).items,
            (std::vector<std::u16string>{u"[Filter]    http://pop.ads.test/x"}));

  // The open window covers the page: no dialog, the target goes to it.
  test::TModalAnswerer none([](QWidget* modal) { modal->close(); });
  TFilterCheck rec{};
  EXPECT_EQ(Ask("http://other.test/", rec), -1);
  EXPECT_EQ(none.seen, 0);
  EXPECT_EQ(rec.Asked, -1);
  EXPECT_EQ(rec.ScriptId, w->FScriptID);
  EXPECT_EQ(TFrmScriptEditor::ListModel(w->Ln2).items.back(), u"[Filter]    http://other.test/");
}

TEST_F(FormUrlFilterMsgTest, BlackListTakesTheEditedTarget) {
  test::TModalAnswerer answer([](QWidget* modal) {
    auto* dialog = qobject_cast<TFormUrlFilterMsg*>(modal);
    dialog->EdBreak->setText(QStringLiteral("https://Tracker.test:8443/edited"));
    dialog->btnAddToBlackList->click();
  });
  TFilterCheck rec{};
  EXPECT_EQ(Ask("http://pop.ads.test/x", rec), -1);
  EXPECT_EQ(library_->BlackList(), (std::vector<std::string>{"Tracker.test"}));
  EXPECT_EQ(test::ReadBytes(dir_ / "Scripts" / "BlackList.ini"), "Tracker.test\r\n");
  EXPECT_TRUE(library_->IsInBlackList("http://tracker.test/any"));
}

TEST_F(FormUrlFilterMsgTest, FailedBlackListWriteIsReported) {
  fs::remove_all(dir_ / "Scripts");
  std::ofstream(dir_ / "Scripts") << "not a folder";
  QString message;
  test::TModalAnswerer answer([&](QWidget* modal) {
    if (auto* dialog = qobject_cast<TFormUrlFilterMsg*>(modal)) {
      dialog->btnAddToBlackList->click();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      message = box->text();
      box->accept();
    }
  });
  TFilterCheck rec{};
  EXPECT_EQ(Ask("http://pop.ads.test/x", rec), -1);
  EXPECT_EQ(answer.seen, 2);
  EXPECT_TRUE(
      message.startsWith(QStringLiteral("The black list file was not written: cannot write")))
      << message.toStdString();
  EXPECT_EQ(library_->BlackList(), (std::vector<std::string>{"pop.ads.test"}));
}

// Every button where and as it is laid out, and Tab walking the five
// controls of the upper panel in their order.
TEST_F(FormUrlFilterMsgTest, ButtonsAndTabOrder) {
  TFormUrlFilterMsg dialog(*library_, *editors_);
  dialog.show();
  QApplication::processEvents();
  struct Row {
    QWidget* control;
    QRect place;
    const char16_t* caption;  // null for the notice
    int result;
  };
  const Row rows[] = {
      {dialog.btnOk, {296, 7, 177, 41}, u"允许跳转", 1},
      {dialog.btnCancel, {27, 7, 169, 41}, u"阻止跳转", 2},
      {dialog.btnSetFilters, {736, 7, 281, 41}, u"为当前网站设定过滤规则...", 2},
      {dialog.MyEdit3, {8, 56, 1009, 21}, nullptr, 0},
      {dialog.btnAddToBlackList, {528, 7, 177, 41}, u"加入黑名单!", 2},
  };
  QWidget* expected_next = rows[0].control;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control->objectName().toStdString());
    EXPECT_EQ(row.control->geometry(), row.place);
    if (auto* button = qobject_cast<QPushButton*>(row.control)) {
      EXPECT_EQ(button->text(), QString::fromUtf16(row.caption));
      EXPECT_EQ(Tag(button), row.result);
    }
    EXPECT_EQ(row.control, expected_next);
    // The next control Tab reaches.
    QWidget* next = row.control->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisibleTo(&dialog))
      next = next->nextInFocusChain();
    expected_next = next;
  }
  EXPECT_TRUE(dialog.btnAddToBlackList->font().bold());
  EXPECT_TRUE(dialog.MyEdit3->font().bold());
  EXPECT_TRUE(dialog.MyEdit3->isReadOnly());
  // The panels: lowered outer and raised inner bevel (an etched box).
  for (const char* name : {"Panel1", "Panel2", "Panel3"}) {
    SCOPED_TRACE(name);
    auto* panel = dialog.findChild<QFrame*>(QString::fromLatin1(name));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->frameShape(), QFrame::Box);
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  }
}

TEST_F(FormUrlFilterMsgTest, KeepsItsHeight) {
  TFormUrlFilterMsg dialog(*library_, *editors_);
  dialog.show();
  const int height = dialog.height();
  EXPECT_EQ(dialog.size(), QSize(1027, 141));
  dialog.resize(1200, height + 80);
  EXPECT_EQ(dialog.size(), QSize(1200, height));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dialog.MyEdit3->text().toStdU16String(), InterceptNotice());
  EXPECT_EQ(dialog.EdBreak->focusPolicy(), Qt::ClickFocus);
  EXPECT_TRUE(dialog.EdSrc->isReadOnly());
  EXPECT_FALSE(dialog.EdBreak->isReadOnly());
}

}  // namespace
}  // namespace kovra
