// The exports as a host sees them: host strings in, host strings out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "KovraEngine.h"
#include "TestSupport.h"

namespace {

using kovra_test::THostString;

std::string TakeResult(char* result) {
  if (result == nullptr) return {};
  int32_t refcount = 0;
  std::memcpy(&refcount, result - 8, 4);
  EXPECT_EQ(refcount, 1);
  std::string out(result, static_cast<size_t>(KovraHostStringLength(result)));
  EXPECT_EQ(result[out.size()], '\0');
  KovraFreeHostString(result);
  return out;
}

std::string RunExport(std::string_view script, std::string_view data) {
  const THostString s(script);
  const THostString d(data);
  char* result = nullptr;
  ScriptDeData(&result, script.empty() ? nullptr : s.get(), data.empty() ? nullptr : d.get());
  return TakeResult(result);
}

TEST(ScriptDeData, RunsScriptOverData) {
  EXPECT_EQ(RunExport("[script]result := copyc(result, 2, 3);[/script]", "abcdef"), "bcd");
}

TEST(ScriptDeData, EmptyResultIsNull) {
  char* result = reinterpret_cast<char*>(1);
  const THostString s("[script]result := '';[/script]");
  ScriptDeData(&result, s.get(), nullptr);
  EXPECT_EQ(result, nullptr);
}

TEST(ScriptDeData, NullArgumentsAreEmptyTexts) {
  EXPECT_EQ(RunExport("", ""), "");
  EXPECT_EQ(RunExport("", "data"), "data");
  ScriptDeData(nullptr, nullptr, nullptr);  // no result variable: nothing happens
}

TEST(ScriptDeData, KeepsCodePageTextAndNulBytes) {
  // "中文" in code page 936, a NUL, and bytes that are no character at all.
  const std::string data("\xD6\xD0\xCE\xC4\0\x81\xFF\x80", 8);
  EXPECT_EQ(RunExport("[script][/script]", data), data);
  EXPECT_EQ(RunExport("[script]result := '\xD6\xD0' + result;[/script]", "x"), "\xD6\xD0x");
}

TEST(ScriptDeData, ReturnsErrorTexts) {
  // "无效语句：foo;" and the position line, in code page 936.
  const std::string expected =
      "\xCE\xDE\xD0\xA7\xD3\xEF\xBE\xE4\xA3\xBA" "foo;\r\n"
      "\xD3\xEF\xBE\xE4\xBF\xAA\xCA\xBC\xCE\xBB\xD6\xC3\xA3\xBA" "7";
  EXPECT_EQ(RunExport("[script]\r\nfoo;\r\n[/script]", "x"), expected);
}

}  // namespace
