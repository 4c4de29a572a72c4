// The message-box prompt: Yes / No / Cancel answers and the OK notice, on
// the QApplication's thread and from a worker thread.
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>
#include <thread>

#include "WindowsTestSupport.h"
#include "windows/MessageBoxPrompt.h"

namespace kovra {
namespace {

void Press(QWidget* modal, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  ASSERT_NE(box, nullptr);
  box->button(which)->click();
}

TEST(MessageBoxPromptTest, AnswersOnTheGuiThread) {
  test::App();
  TMessageBoxPrompt prompt;
  struct Case {
    QMessageBox::StandardButton press;  // NoButton: closed
    int32_t answer;
  };
  const Case cases[] = {{QMessageBox::Yes, TPrompt::kYes},
                        {QMessageBox::No, TPrompt::kNo},
                        {QMessageBox::Cancel, TPrompt::kCancel},
                        {QMessageBox::NoButton, TPrompt::kCancel}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    QString caption, text;
    test::TModalAnswerer answer([&](QWidget* modal) {
      caption = modal->windowTitle();
      text = qobject_cast<QMessageBox*>(modal)->text();
      if (c.press == QMessageBox::NoButton) {
        modal->close();
      } else {
        Press(modal, c.press);
      }
    });
    EXPECT_EQ(prompt.AskYesNoCancel(u"标题", u"继续吗？"), c.answer);
    EXPECT_EQ(caption, QStringLiteral("标题"));
    EXPECT_EQ(text, QStringLiteral("继续吗？"));
  }
}

TEST(MessageBoxPromptTest, WorkerThreadIsAnsweredOnTheGuiThread) {
  test::App();
  TMessageBoxPrompt prompt;
  std::atomic<int32_t> result{-100};
  std::atomic<bool> shown_on_gui_thread{false};
  test::TModalAnswerer answer([&](QWidget* modal) {
    shown_on_gui_thread = modal->thread() == QApplication::instance()->thread();
    Press(modal, QMessageBox::No);
  });
  QEventLoop loop;
  std::thread worker([&] {
    result = prompt.AskYesNoCancel(u"msg", u"from a worker");
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  EXPECT_EQ(result, TPrompt::kNo);
  EXPECT_TRUE(shown_on_gui_thread);
}

TEST(MessageBoxPromptTest, NoticeHasOneOkButton) {
  test::App();
  TMessageBoxPrompt prompt;
  QString caption;
  int buttons = 0;
  test::TModalAnswerer answer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    caption = box->windowTitle();
    buttons = static_cast<int>(box->buttons().size());
    Press(modal, QMessageBox::Ok);
  });
  prompt.ShowNotice(u"debug",
                    u"_Error_: func GetFiltersFromParentUrl. Error ParentUrl:\rhttp://x.test/");
  EXPECT_EQ(answer.seen, 1);
  EXPECT_EQ(caption, QStringLiteral("debug"));
  EXPECT_EQ(buttons, 1);
}

}  // namespace
}  // namespace kovra
