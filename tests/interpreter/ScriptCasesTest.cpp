// Runs the script cases in tests/data/scripts/*.cases, each as its own test.
//
// A case file holds cases separated by "=== name" lines; each case has
// sections opened by "--- script", "--- vars", "--- text", "--- data",
// "--- expect" or "--- error". Script lines are joined with CR LF, as script
// files are: "--- script" is the body, framed with the "--- vars" lines (if
// any) as the declaration block; "--- text" is a whole script text as it
// stands. Data and expected texts are joined with
// LF and understand \r \n \t \0 \\. An "--- error" section holds the message
// on its first line and the reported position on the second.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/ScriptParsers.h"
#include "platform/CodePage.h"

namespace kovra {
namespace {

struct TScriptCase {
  std::string file;
  std::string name;
  std::string script;
  std::string data;
  std::string expect;
  bool expect_error = false;
  bool raw = false;
};

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      default: out += s[i]; break;
    }
  }
  return out;
}

std::string Join(const std::vector<std::string>& lines, const char* sep) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += sep;
    out += lines[i];
  }
  return out;
}

void Finish(TScriptCase& c, const std::string& section, std::vector<std::string>& lines,
            std::string& vars) {
  while (!lines.empty() && lines.back().empty()) lines.pop_back();  // blank lines between cases
  if (section == "script" || section == "text") {
    c.script = Join(lines, "\r\n");
    c.raw = section == "text";
  } else if (section == "vars") {
    vars = Join(lines, "\r\n");
  } else if (section == "data") {
    c.data = Unescape(Join(lines, "\n"));
  } else if (section == "expect") {
    c.expect = Unescape(Join(lines, "\n"));
  } else if (section == "error") {
    c.expect_error = true;
    c.expect = Unescape(lines.empty() ? "" : lines[0]) + "\r\n语句开始位置：" +
               (lines.size() > 1 ? lines[1] : "");
  }
  lines.clear();
}

void Complete(TScriptCase& c, const std::string& vars, std::vector<TScriptCase>& out) {
  if (c.name.empty()) return;
  if (!c.raw) {
    c.script = "var\r\n" + vars + "\r\nendvar\r\n[script]\r\n" + c.script + "\r\n[/script]";
  }
  out.push_back(c);
}

std::vector<TScriptCase> LoadCases() {
  std::vector<TScriptCase> cases;
  const char* root = KOVRA_TEST_DATA_DIR;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(root) / "scripts")) {
    if (entry.path().extension() == ".cases") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& path : files) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    TScriptCase current;
    std::string section;
    std::string vars;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with("=== ")) {
        Finish(current, section, lines, vars);
        Complete(current, vars, cases);
        current = TScriptCase{};
        current.file = path.stem().string();
        current.name = line.substr(4);
        section.clear();
        vars.clear();
      } else if (line.starts_with("--- ")) {
        Finish(current, section, lines, vars);
        section = line.substr(4);
      } else if (!section.empty()) {
        lines.push_back(line);
      }
    }
    Finish(current, section, lines, vars);
    Complete(current, vars, cases);
  }
  return cases;
}

class ScriptCases : public testing::TestWithParam<TScriptCase> {};

TEST_P(ScriptCases, Runs) {
  const TScriptCase& c = GetParam();
  const TRunOutcome outcome = RunScriptText(DecodeUtf8(c.script), DecodeUtf8(c.data));
  EXPECT_EQ(EncodeUtf8(outcome.text), c.expect) << "script:\n" << c.script;
  EXPECT_EQ(outcome.failed, c.expect_error);
}

std::string CaseName(const testing::TestParamInfo<TScriptCase>& info) {
  std::string name = info.param.file + "_" + info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, ScriptCases, testing::ValuesIn(LoadCases()), CaseName);

}  // namespace
}  // namespace kovra
