// Shared by the window tests: the QApplication (made here, as a host
// program makes its own; QT_QPA_PLATFORM=offscreen comes from the test's
// environment), a temporary engine folder per test and process, and a way
// to act on the next modal window while it runs its own loop.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>

// Failures print Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kovra::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "kovra_windows_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A fresh engine folder (with a Scripts folder) for the running test.
inline std::filesystem::path TempEngineFolder() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("kovra_windows_") + std::to_string(getpid()) + "_" +
                     info->test_suite_name() + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "Scripts");
  return dir;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs `act` on the next modal window once its loop is running; the window
// is then expected to close. `seen` counts the modal windows acted on.
class TModalAnswerer {
 public:
  explicit TModalAnswerer(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal->property("kovra_test_answered").toBool()) return;
      modal->setProperty("kovra_test_answered", true);
      ++seen;
      // Acting may open a further modal window with its own loop: act from
      // a fresh event, so that this timer keeps watching meanwhile.
      QTimer::singleShot(0, modal, [this, modal] {
        act_(modal);
        modal->setProperty("kovra_test_answered", QVariant());  // a window shown again is new
      });
    });
    timer_.start();
  }
  int seen = 0;

 private:
  std::function<void(QWidget*)> act_;
  QTimer timer_;
};

}  // namespace kovra::test
