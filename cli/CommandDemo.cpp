#include "CommandDemo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "CliSupport.h"
#include "CommandLibrary.h"
#include "DemoServer.h"
#include "platform/CodePage.h"

namespace kovra::cli {
namespace {

std::string FromEngine(std::string_view bytes) { return EncodeUtf8(ToWide(bytes)); }

// The script's result: the report without the HTML finish line.
std::string ResultOf(const std::string& report) {
  const size_t finish = report.rfind("<Br><font color=");
  return finish == std::string::npos ? report : report.substr(0, finish);
}

std::string ExpandPort(std::string text, const TDemoServer& server) {
  const std::string key = "{port}";
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
    text.replace(at, key.size(), std::to_string(server.Port()));
  }
  return text;
}

}  // namespace

int CommandDemo(std::vector<std::string> args) {
  std::filesystem::path examples = "examples";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--examples" && i + 1 < args.size()) {
      examples = args[i + 1];
      ++i;
    } else {
      throw TUsageError("usage: kovra demo [--examples DIR]");
    }
  }
  const std::filesystem::path pages_folder = examples / "pages";
  const std::filesystem::path scripts_folder = examples / "Scripts";
  if (!std::filesystem::is_directory(pages_folder) || !std::filesystem::is_directory(scripts_folder)) {
    throw TUsageError("no example pages and scripts in " + examples.string() + " (run from the project folder)");
  }

  const TDemoServer server(pages_folder);
  const auto library = TScriptLibrary::FromScriptsFolder(scripts_folder);
  std::cout << "Kovra demo: " << library->Count() << " scripts from " << scripts_folder.string()
            << ", pages served at " << server.Url("") << "\n";

  std::vector<std::string> pages;
  for (const auto& entry : std::filesystem::directory_iterator(pages_folder)) {
    if (entry.path().extension() == ".html") pages.push_back(entry.path().filename().string());
  }
  std::sort(pages.begin(), pages.end());

  const TRunEnvironment env = CommandEnvironment();
  int served = 0;
  for (const std::string& page : pages) {
    const std::string url = server.Url(page);
    std::cout << "\n== " << url << "\n";
    const TPageRun run = RunPage(*library, url, env);
    if (run.name.empty()) {
      std::cout << "no script serves this page\n";
      continue;
    }
    ++served;
    std::cout << "script: " << FromEngine(run.name) << " (NeedResult " << run.need_result
              << ", ResultToNewPage " << run.result_to_new_page << ")\n"
              << FromEngine(ResultOf(run.report)) << "\n";
  }

  std::ifstream navigations(examples / "navigations.txt");
  std::string line;
  bool header = false;
  while (std::getline(navigations, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    if (!header) {
      std::cout << "\n== Navigations\n";
      header = true;
    }
    const std::string parent = ExpandPort(line.substr(0, space), server);
    const std::string target = ExpandPort(line.substr(space + 1), server);
    std::cout << parent << " -> " << target << "\n  "
              << ExplainNavigation(*library, ToNarrow(DecodeUtf8(parent)), ToNarrow(DecodeUtf8(target)))
              << "\n";
  }
  std::cout << "\n" << served << " of " << pages.size() << " pages served by a script.\n";
  return 0;
}

}  // namespace kovra::cli
