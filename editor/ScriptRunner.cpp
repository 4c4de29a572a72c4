#include "ScriptRunner.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <vector>

#include "KovraEngine.h"
#include "platform/CodePage.h"

namespace {

std::atomic<int32_t> g_stop_requested{0};

// A host string owned by this program: [refcount][length][bytes][NUL], the
// pointer at the first byte. The engine only reads it.
class THostString {
 public:
  explicit THostString(std::string_view text) {
    // The length is an int32: a longer text is cut at that size.
    const size_t length = std::min<size_t>(text.size(), INT32_MAX - 16);
    if (length == 0) return;
    const int32_t header[2] = {-1, static_cast<int32_t>(length)};
    block_.assign(sizeof header + length + 1, '\0');
    std::memcpy(block_.data(), header, sizeof header);
    std::copy(text.begin(), text.begin() + static_cast<ptrdiff_t>(length),
              block_.begin() + sizeof header);
  }
  const char* Get() const { return block_.empty() ? nullptr : block_.data() + 8; }

 private:
  std::vector<char> block_;
};

std::u16string_view View(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())};
}

}  // namespace

extern "C" int32_t KovraHostStopRequested(void) {
  return g_stop_requested.load();
}

namespace kovra {

std::string CallScriptDeData(std::string_view script, std::string_view data) {
  const THostString host_script(script);
  const THostString host_data(data);
  char* result = nullptr;
  ScriptDeData(&result, host_script.Get(), host_data.Get());
  std::string text;
  if (result != nullptr) text.assign(result, static_cast<size_t>(KovraHostStringLength(result)));
  KovraFreeHostString(result);
  return text;
}

TScriptRun::TScriptRun(QObject* parent) : QObject(parent) {}

TScriptRun::~TScriptRun() {
  if (worker_.joinable()) {
    g_stop_requested = 1;
    worker_.join();
    g_stop_requested = 0;
  }
}

bool TScriptRun::Start(const QString& script, const QString& data) {
  if (worker_.joinable()) return false;
  g_stop_requested = 0;
  std::string narrow_script = ToNarrow(View(script));
  std::string narrow_data = ToNarrow(View(data));
  worker_ = std::thread([this, s = std::move(narrow_script), d = std::move(narrow_data)] {
    const std::string result = CallScriptDeData(s, d);
    const std::u16string wide = ToWide(result);
    QString text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
    QMetaObject::invokeMethod(
        this, [this, text] { Done(text); }, Qt::QueuedConnection);
  });
  return true;
}

void TScriptRun::Stop() {
  if (worker_.joinable()) g_stop_requested = 1;
}

void TScriptRun::Done(const QString& result) {
  // The worker has handed over its result and is ending.
  if (worker_.joinable()) worker_.join();
  g_stop_requested = 0;
  emit Finished(result);
}

}  // namespace kovra
