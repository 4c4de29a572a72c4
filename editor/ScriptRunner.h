// Running a script through the engine's ScriptDeData export.
//
// A run goes on a worker thread so that the windows stay responsive: the
// user can press Stop, and the engine's message boxes (msg) are shown by the
// user-interface thread, whose event loop keeps turning. Stop reaches the
// engine through KovraHostStopRequested, which this program exports and the
// engine looks up when it is loaded.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

// Non-zero while the user has asked to stop the current script run.
extern "C" __attribute__((visibility("default"))) int32_t KovraHostStopRequested(void);

namespace kovra {

// Calls ScriptDeData(result, script, data) on this thread with host strings
// built from the 8-bit texts, and returns the result text (empty when the
// engine hands back none).
std::string CallScriptDeData(std::string_view script, std::string_view data);

// One script run at a time, off the calling thread.
class TScriptRun final : public QObject {
  Q_OBJECT

 public:
  explicit TScriptRun(QObject* parent = nullptr);
  ~TScriptRun() override;  // stops a run still going and waits for it

  // Starts a run of the script over the data (both converted to the engine's
  // code page); false while another run is going.
  bool Start(const QString& script, const QString& data);

  // Asks the engine to stop the current run between two statements.
  void Stop();

  bool IsRunning() const { return worker_.joinable(); }

 signals:
  // The result text of the run, on the thread that owns this object.
  void Finished(const QString& result);

 private:
  void Done(const QString& result);

  std::thread worker_;
};

}  // namespace kovra
