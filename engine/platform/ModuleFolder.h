// The folder of the loaded module (shared library or program) that holds a
// given address, as the dynamic loader reports it.
#pragma once

#include <filesystem>

namespace kovra {

// Empty when the loader knows no module for the address.
std::filesystem::path ModuleFolder(const void* address_in_module);

}  // namespace kovra
