// The one QApplication of an editor test program, made on first use on the
// offscreen platform unless another is set, and a bounded wait for a signal.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QString>
#include <QTimer>

#include <ostream>

// Failure messages show texts as text.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace kovra::test {

inline QApplication& TestApp() {
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kovra_edit_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Runs the event loop until sender emits signal or a generous limit passes
// (which only a broken run reaches); true when the signal came.
template <typename Sender, typename Signal>
bool WaitForSignal(Sender* sender, Signal signal, int limit_ms = 60000) {
  QEventLoop loop;
  bool arrived = false;
  const auto connection = QObject::connect(sender, signal, &loop, [&] {
    arrived = true;
    loop.quit();
  });
  QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(connection);
  return arrived;
}

}  // namespace kovra::test
