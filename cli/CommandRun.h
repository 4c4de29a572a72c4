// kovra run SCRIPT [DATA]: runs a script over a data text and prints the
// result.
#pragma once

#include <string>
#include <vector>

namespace kovra::cli {

// Returns the exit status: 0 normal run, 1 the run ended with an error text.
// Throws TUsageError for usage and file errors.
int CommandRun(const std::vector<std::string>& args);

}  // namespace kovra::cli
