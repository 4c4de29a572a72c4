// The kovra verbs over a script library: which, page, check, domain.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "interpreter/UnitParsersProcess.h"
#include "library/UnitTScriptLibrary.h"

namespace kovra::cli {

// Takes "--scripts DIR" out of the arguments; the library of DIR, or of
// ./Scripts without it.
std::unique_ptr<TScriptLibrary> OpenLibrary(std::vector<std::string>& args);

// What page runs started by the command get: the terminal prompt and the
// HTTP client.
TRunEnvironment CommandEnvironment();

// The report of one page run as RunScript makes it, with the options the
// options callback saw. Empty name when no script serves the page.
struct TPageRun {
  std::string name;
  bool need_result = false;
  bool result_to_new_page = false;
  std::string report;
};
TPageRun RunPage(const TScriptLibrary& library, const std::string& url, const TRunEnvironment& env);

// One line saying allow or filter and what decided, for a navigation from
// parent to target under the rules of the library.
std::string ExplainNavigation(const TScriptLibrary& library, const std::string& parent,
                              const std::string& target);

int CommandWhich(std::vector<std::string> args);
int CommandPage(std::vector<std::string> args);
int CommandCheck(std::vector<std::string> args);
int CommandDomain(std::vector<std::string> args);

}  // namespace kovra::cli
