#include "windows/MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "windows/GuiApplication.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

// Runs the function on the QApplication's thread and waits for it; false
// when it cannot run there.
template <class F>
bool RunOnGuiThread(F&& f) {
  if (!GuiApplicationExists()) return false;
  QCoreApplication* app = QCoreApplication::instance();
  if (QThread::currentThread() == app->thread()) {
    f();
    return true;
  }
  if (EngineOwnsGuiApplication()) return false;
  return QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

}  // namespace

int32_t TMessageBoxPrompt::AskYesNoCancel(std::u16string_view caption,
                                          std::u16string_view message) {
  int32_t answer = kNotShown;
  RunOnGuiThread([&] {
    QMessageBox box(QMessageBox::NoIcon, QText(caption), QText(message),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setObjectName(QStringLiteral("KovraMessageBox"));
    // Without an owner the box could open behind a window that stays on top
    // (the editor's Run Script window): it stays on top itself.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
      case QMessageBox::Yes:
        answer = kYes;
        break;
      case QMessageBox::No:
        answer = kNo;
        break;
      default:
        answer = kCancel;
        break;
    }
  });
  return answer;
}

void TMessageBoxPrompt::ShowNotice(std::u16string_view caption, std::u16string_view message) {
  RunOnGuiThread([&] {
    QMessageBox box(QMessageBox::NoIcon, QText(caption), QText(message), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("KovraNotice"));
    box.exec();
  });
}

}  // namespace kovra
