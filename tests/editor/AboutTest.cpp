#include <gtest/gtest.h>

#include <QLabel>

#include "editor/QtTestApp.h"
#include "reabout.h"

namespace kovra {
namespace {

TEST(MemoryStatus, ReadFromMemInfo) {
  const struct {
    const char* name;
    const char* meminfo;
    uint64_t total_kb;
    int load;
  } cases[] = {
      {"MemAvailable",
       "MemTotal:       16318732 kB\nMemFree:         1000000 kB\nMemAvailable:   12239049 kB\n",
       16318732, 25},
      {"older kernels: free + buffers + cached",
       "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 150 kB\n", 1000, 70},
      {"rounded to the nearest per cent", "MemTotal: 1000 kB\nMemAvailable: 994 kB\n", 1000, 1},
      {"all in use", "MemTotal: 1000 kB\nMemAvailable: 0 kB\n", 1000, 100},
      {"more available than total", "MemTotal: 1000 kB\nMemAvailable: 5000 kB\n", 1000, 0},
      {"keys are matched whole", "MemTotalX: 5 kB\nMemTotal: 200 kB\nMemAvailable: 100 kB", 200,
       50},
      {"no total", "MemFree: 100 kB\n", 0, 0},
      {"garbage", "MemTotal: lots\n", 0, 0},
      {"empty", "", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TMemoryStatus status = ParseMemInfo(c.meminfo);
    EXPECT_EQ(status.total_kb, c.total_kb);
    EXPECT_EQ(status.load_percent, c.load);
  }
}

TEST(MemoryStatus, KilobytesGroupedByThousands) {
  const struct {
    uint64_t kb;
    const char* text;
  } cases[] = {{0, "0 KB"},
               {999, "999 KB"},
               {1000, "1,000 KB"},
               {123456, "123,456 KB"},
               {16318732, "16,318,732 KB"},
               {1234567890123, "1,234,567,890,123 KB"}};
  for (const auto& c : cases) EXPECT_EQ(FormatKilobytes(c.kb), QString::fromLatin1(c.text));
}

TEST(AboutBox, ShowsTheMemory) {
  test::TestApp();
  TAboutBox box(nullptr, TMemoryStatus{16318732, 37});
  EXPECT_EQ(box.windowTitle(), u"About Kovra Edit"_qs);
  EXPECT_EQ(box.findChild<QLabel*>(u"ProductName"_qs)->text(),
            u"Kovra Edit ( Using Kovra Engine ) "_qs);
  EXPECT_EQ(box.findChild<QLabel*>(u"PhysMem"_qs)->text(), u"16,318,732 KB"_qs);
  EXPECT_EQ(box.findChild<QLabel*>(u"FreeRes"_qs)->text(), u"37 %"_qs);
  bool captions = false;
  for (const QLabel* label : box.findChildren<QLabel*>()) {
    if (label->text() == u"Physical Memory Available to Windows:"_qs) captions = true;
  }
  EXPECT_TRUE(captions);
  EXPECT_GT(ReadMemoryStatus().total_kb, 0u);  // this machine's /proc/meminfo
}

}  // namespace
}  // namespace kovra
