// kovra: the engine's command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "CliSupport.h"
#include "CommandDemo.h"
#include "CommandLibrary.h"
#include "CommandRun.h"

namespace {

constexpr const char* kHelp = R"(Usage: kovra VERB [OPTIONS] ARGUMENTS

Verbs:
  run SCRIPT [DATA]     Run a script over a data text and print the result.
                        SCRIPT and DATA are file names, or - for standard
                        input (one of them at most). Without DATA the script
                        starts with an empty "result".
  which URL             Print the name of the library script that serves the
                        page (exit status 1 when none does).
  page URL              Run that script for the page as a browser's RunScript
                        does (the script gets the address in "url") and
                        print its options and its report.
  check PARENT TARGET   Say whether a jump from the page PARENT to TARGET is
                        allowed or filtered, and which rule decided: the
                        [ExUrl] rule, an [Allow] or [Filter] pattern, or
                        "would ask" (a browser would ask the user); also
                        whether TARGET is on the black list.
  domain URL            Print the main domain of the address, or "error".
  demo [--examples DIR] Serve DIR/pages (default examples/pages) on
                        127.0.0.1, run the scripts of DIR/Scripts over them
                        and decide the navigations of DIR/navigations.txt.
  help, --help          Show this text.

Options of which, page and check:
  --scripts DIR         The library's Scripts folder (default ./Scripts),
                        with its *.ks files and BlackList.ini.

Options of run:
  --encoding NAME       Encoding of DATA and of the printed result: utf-8
                        (the default), or a code page such as 936, gbk, 1252.
  --timeout SECONDS     Stop the run after SECONDS; it then ends with an
                        error text.

Script files are read in the engine code page (936, or the one named by the
environment variable KOVRA_CODEPAGE) unless they are valid UTF-8 holding
non-ASCII text. When a script asks a question (msg) and standard input is a
terminal, the question is asked there; otherwise it answers 0.

Exit status: 0 the run ended normally (the result is printed on standard
output); 1 the run ended with an error text (printed on standard error);
2 a usage or file error (one line on standard error).
)";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    std::cout << kHelp;
    return args.empty() ? 2 : 0;
  }
  const std::string verb = args[0];
  args.erase(args.begin());
  try {
    if (verb == "run") return kovra::cli::CommandRun(args);
    if (verb == "which") return kovra::cli::CommandWhich(args);
    if (verb == "page") return kovra::cli::CommandPage(args);
    if (verb == "check") return kovra::cli::CommandCheck(args);
    if (verb == "domain") return kovra::cli::CommandDomain(args);
    if (verb == "demo") return kovra::cli::CommandDemo(args);
    throw kovra::cli::TUsageError("unknown verb '" + verb + "' (see kovra --help)");
  } catch (const kovra::cli::TUsageError& e) {
    std::cerr << "kovra: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "kovra: " << e.what() << "\n";
    return 2;
  }
}
