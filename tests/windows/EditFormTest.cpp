// The entry bar on its own: kinds and tips, the value cycle, the domain
// buttons, a bar without owner, and the drag by its grip.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include "WindowsTestSupport.h"
#include "library/UnitTScriptLibrary.h"
#include "windows/UnitEditForm.h"
#include "windows/UnitEditFormLogic.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitTMyEdit.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

class EditFormTest : public testing::Test {
 protected:
  void SetUp() override {
    test::App();
    dir_ = test::TempEngineFolder();
    library_ = std::make_unique<TScriptLibrary>(dir_);
    owner_ = std::make_unique<TFrmScriptEditor>(*library_);
    bar_ = owner_->FEditForm;
  }
  void TearDown() override {
    owner_.reset();
    library_.reset();
    std::filesystem::remove_all(dir_);
  }
  void Choose(const QString& kind) {
    bar_->Box->setCurrentIndex(bar_->Box->findText(kind));
    bar_->BoxChange();
  }

  std::filesystem::path dir_;
  std::unique_ptr<TScriptLibrary> library_;
  std::unique_ptr<TFrmScriptEditor> owner_;
  TEditForm* bar_ = nullptr;
};

TEST_F(EditFormTest, LayoutColoursAndTags) {
  bar_->show();
  QApplication::processEvents();
  EXPECT_EQ(bar_->size(), QSize(866, 58));
  EXPECT_TRUE(bar_->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(bar_->palette().color(QPalette::Window), QColor(106, 105, 97));
  EXPECT_EQ(bar_->Panel3->text(), QStringLiteral("||"));
  EXPECT_EQ(bar_->Panel3->width(), 19);
  const std::pair<QPushButton*, int> buttons[] = {
      {bar_->btnCancel, 2}, {bar_->btnDel, 4}, {bar_->btnAdd, 3}, {bar_->btnOk, 1}};
  int left = -1;
  for (auto [button, tag] : buttons) {
    EXPECT_EQ(Tag(button), tag);
    EXPECT_EQ(button->size(), QSize(51, 50));
    EXPECT_GT(button->x(), left);  // left to right in this order
    left = button->x();
  }
  EXPECT_EQ(bar_->Tips->align(), TMyEdit::alBottom);
  EXPECT_FALSE(bar_->Tips->focusPolicy() & Qt::TabFocus);
}

TEST_F(EditFormTest, KindChoiceShowsTheTipAndResetsExUrlValues) {
  for (auto kind : kEntryKinds) bar_->Box->addItem(QText(kind));
  bar_->Value->setText(QStringLiteral("keep me"));
  Choose(QStringLiteral("[Filter]"));
  EXPECT_EQ(bar_->Value->text(), QStringLiteral("keep me"));
  EXPECT_EQ(bar_->Tips->text(), QText(kEntryTips[2]));
  Choose(QStringLiteral("[ExUrl]"));
  EXPECT_EQ(bar_->Value->text(), QStringLiteral("All Allow"));
  EXPECT_EQ(bar_->Tips->text(), QText(kEntryTips[0]));
  bar_->Box->setCurrentIndex(-1);
  bar_->BoxChange();  // no kind: nothing changes
  EXPECT_EQ(bar_->Tips->text(), QText(kEntryTips[0]));
}

TEST_F(EditFormTest, DoubleClicksCycleTheValue) {
  bar_->show();
  bar_->Value->setText(QStringLiteral("All Allow"));
  const char* expected[] = {"All Filter", "Default", "All Allow"};
  for (const char* next : expected) {
    QTest::mouseDClick(bar_->Value, Qt::LeftButton);
    EXPECT_EQ(bar_->Value->text(), QString::fromLatin1(next));
  }
  bar_->Value->setText(QStringLiteral(" all  allow"));
  QTest::mouseDClick(bar_->Value, Qt::LeftButton);
  EXPECT_EQ(bar_->Value->text(), QStringLiteral("All Filter"));
}

TEST_F(EditFormTest, DomainButtons) {
  bar_->Value->setText(QStringLiteral("http://news.Example.com.cn:8080/a/b"));
  bar_->btnFullName->click();
  EXPECT_EQ(bar_->Value->text(), QStringLiteral("news.Example.com.cn"));
  bar_->btnGetDomain->click();
  EXPECT_EQ(bar_->Value->text(), QStringLiteral("example.com.cn"));
}

TEST_F(EditFormTest, BarWithoutOwnerIgnoresItsButtons) {
  TEditForm orphan(nullptr);
  orphan.show();
  orphan.btnOk->click();
  orphan.btnDel->click();
  EXPECT_TRUE(orphan.isVisible());
}

TEST_F(EditFormTest, GripDragsTheBar) {
  bar_->move(100, 100);
  bar_->show();
  QApplication::processEvents();
  const QPoint start = bar_->pos();
  const QPoint grip = bar_->Panel3->rect().center();
  QTest::mousePress(bar_->Panel3, Qt::LeftButton, {}, grip);
  QTest::mouseMove(bar_->Panel3, grip + QPoint(40, 25));
  QTest::mouseRelease(bar_->Panel3, Qt::LeftButton, {}, grip + QPoint(40, 25));
  // Where the window system moves the bar itself (not on this platform),
  // the drag goes through it instead.
  EXPECT_EQ(bar_->pos(), start + QPoint(40, 25));
}

}  // namespace
}  // namespace kovra
