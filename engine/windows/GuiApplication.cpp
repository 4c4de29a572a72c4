#include "windows/GuiApplication.h"

#include <dlfcn.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

namespace kovra {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Whether an X server answers on DISPLAY, asked through libxcb (which Qt's
// own X platform loads anyway), so that a stale DISPLAY never reaches Qt.
bool XServerReachable() {
  if (Env("DISPLAY").empty()) return false;
  void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  if (xcb == nullptr) return false;
  using TConnect = void* (*)(const char*, int*);
  using THasError = int (*)(void*);
  using TDisconnect = void (*)(void*);
  auto connect = reinterpret_cast<TConnect>(dlsym(xcb, "xcb_connect"));
  auto has_error = reinterpret_cast<THasError>(dlsym(xcb, "xcb_connection_has_error"));
  auto disconnect = reinterpret_cast<TDisconnect>(dlsym(xcb, "xcb_disconnect"));
  bool ok = false;
  if (connect != nullptr && has_error != nullptr && disconnect != nullptr) {
    void* connection = connect(nullptr, nullptr);
    if (connection != nullptr) {
      ok = has_error(connection) == 0;
      disconnect(connection);
    }
  }
  dlclose(xcb);
  return ok;
}

// A Wayland compositor's socket and Qt's Wayland platform plugin.
bool WaylandUsable() {
  const std::string display = Env("WAYLAND_DISPLAY");
  if (display.empty()) return false;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path socket =
      display.front() == '/' ? fs::path(display) : fs::path(Env("XDG_RUNTIME_DIR")) / display;
  if (!fs::exists(socket, ec)) return false;
  const fs::path plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString();
  return fs::exists(plugins / "platforms" / "libqwayland-generic.so", ec);
}

// The platform to start Qt with: empty when QT_QPA_PLATFORM chooses it,
// "xcb" or "wayland" for a display found, or false when there is none.
bool ChoosePlatform(std::string& platform) {
  const std::string chosen = Env("QT_QPA_PLATFORM");
  if (!chosen.empty()) {
    platform.clear();
    // The X platform with no X server would end the process.
    return chosen.rfind("xcb", 0) != 0 || XServerReachable();
  }
  if (XServerReachable()) {
    platform = "xcb";
    return true;
  }
  if (WaylandUsable()) {
    platform = "wayland";
    return true;
  }
  return false;
}

// Once Qt runs inside the host, the engine (and with it Qt) must stay
// loaded: a host that unloads the engine would leave Qt's threads, windows
// and exit handlers pointing into unloaded code.
void PinEngineModule() {
  Dl_info info;
  if (dladdr(reinterpret_cast<const void*>(&PinEngineModule), &info) == 0 ||
      info.dli_fname == nullptr)
    return;
  dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

std::mutex g_create_mutex;
bool g_pinned = false;
bool g_engine_owned = false;
bool g_no_display = false;  // looked once: no display, no application

}  // namespace

bool GuiApplicationExists() {
  std::lock_guard<std::mutex> lock(g_create_mutex);
  if (QCoreApplication::instance() == nullptr && !g_no_display) {
    std::string platform;
    if (ChoosePlatform(platform)) {
      // QApplication keeps argc and argv for its lifetime.
      static int argc = 1;
      static char name[] = "KovraEngine";
      static char option[] = "-platform";
      static std::string platform_arg;
      static char* argv[] = {name, nullptr, nullptr, nullptr};
      if (!platform.empty()) {
        platform_arg = platform;
        argv[1] = option;
        argv[2] = platform_arg.data();
        argc = 3;
      }
      auto* app = new QApplication(argc, argv);
      // Engine windows never end the host's event loop.
      app->setQuitOnLastWindowClosed(false);
      g_engine_owned = true;
    } else {
      g_no_display = true;
    }
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  if (!g_pinned) {
    PinEngineModule();
    g_pinned = true;
  }
  return true;
}

bool GuiReady() {
  if (!GuiApplicationExists()) return false;
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

bool EngineOwnsGuiApplication() {
  std::lock_guard<std::mutex> lock(g_create_mutex);
  return g_engine_owned;
}

}  // namespace kovra
