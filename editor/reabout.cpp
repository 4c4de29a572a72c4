#include "reabout.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

#include "EditorIcons.h"

namespace kovra {
namespace {

// The value of "Key:   1234 kB" lines; -1 when the key is missing.
int64_t MemInfoValue(std::string_view text, std::string_view key) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':') {
      continue;
    }
    size_t digits = key.size() + 1;
    while (digits < line.size() && line[digits] == ' ') ++digits;
    uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(line.data() + digits, line.data() + line.size(), value);
    if (ec != std::errc() || ptr == line.data() + digits) return -1;
    return static_cast<int64_t>(std::min<uint64_t>(value, INT64_MAX));
  }
  return -1;
}

}  // namespace

TMemoryStatus ParseMemInfo(std::string_view text) {
  TMemoryStatus status;
  const int64_t total = MemInfoValue(text, "MemTotal");
  if (total <= 0) return status;
  int64_t available = MemInfoValue(text, "MemAvailable");
  if (available < 0) {
    available = std::max<int64_t>(0, MemInfoValue(text, "MemFree")) +
                std::max<int64_t>(0, MemInfoValue(text, "Buffers")) +
                std::max<int64_t>(0, MemInfoValue(text, "Cached"));
  }
  available = std::clamp<int64_t>(available, 0, total);
  status.total_kb = static_cast<uint64_t>(total);
  const long double used = static_cast<long double>(total - available);
  status.load_percent = static_cast<int>(used * 100 / total + 0.5L);
  return status;
}

TMemoryStatus ReadMemoryStatus() {
  QFile file(QStringLiteral("/proc/meminfo"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray text = file.readAll();
  return ParseMemInfo(std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

QString FormatKilobytes(uint64_t kb) {
  QString digits = QString::number(kb);
  for (qsizetype i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, u',');
  return digits + QStringLiteral(" KB");
}

TAboutBox::TAboutBox(QWidget* parent, const TMemoryStatus& memory) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Kovra Edit"));
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);

  auto* product = new QLabel(QStringLiteral("Kovra Edit ( Using Kovra Engine ) "), this);
  product->setObjectName(QStringLiteral("ProductName"));
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);

  auto* mem_caption = new QLabel(QStringLiteral("Physical Memory Available to Windows:"), this);
  auto* mem_value = new QLabel(FormatKilobytes(memory.total_kb), this);
  mem_value->setObjectName(QStringLiteral("PhysMem"));
  auto* load_caption = new QLabel(QStringLiteral("Memory in Use:"), this);
  auto* load_value = new QLabel(QString::asprintf("%d %%", memory.load_percent), this);
  load_value->setObjectName(QStringLiteral("FreeRes"));
  mem_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  load_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* memory_grid = new QGridLayout;
  memory_grid->addWidget(mem_caption, 0, 0);
  memory_grid->addWidget(mem_value, 0, 1);
  memory_grid->addWidget(load_caption, 1, 0);
  memory_grid->addWidget(load_value, 1, 1);
  memory_grid->setHorizontalSpacing(16);

  auto* text = new QVBoxLayout;
  text->addWidget(product);
  text->addSpacing(12);
  text->addLayout(memory_grid);
  text->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

}  // namespace kovra
