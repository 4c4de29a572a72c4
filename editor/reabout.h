// The About box of KovraEdit, with the machine's physical memory and the
// share of it in use, read from /proc/meminfo.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <string_view>

namespace kovra {

struct TMemoryStatus {
  uint64_t total_kb = 0;  // total physical memory
  int load_percent = 0;   // memory in use, 0..100
};

// Reads MemTotal and MemAvailable (MemFree + Buffers + Cached on kernels
// without it) from the text of /proc/meminfo; zeros when MemTotal is missing.
TMemoryStatus ParseMemInfo(std::string_view text);
TMemoryStatus ReadMemoryStatus();

// "16,318,732 KB": the digits grouped by thousands, a blank and "KB".
QString FormatKilobytes(uint64_t kb);

class TAboutBox final : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr, const TMemoryStatus& memory = ReadMemoryStatus());
};

}  // namespace kovra
