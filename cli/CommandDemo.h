// kovra demo: serves the example pages on 127.0.0.1, shows which example
// script serves each, runs it and prints its report, and decides a few
// navigations with the reason.
#pragma once

#include <string>
#include <vector>

namespace kovra::cli {

int CommandDemo(std::vector<std::string> args);

}  // namespace kovra::cli
