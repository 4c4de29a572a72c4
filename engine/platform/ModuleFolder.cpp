#include "platform/ModuleFolder.h"

#include <dlfcn.h>

#include <system_error>

namespace kovra {

std::filesystem::path ModuleFolder(const void* address_in_module) {
  Dl_info info{};
  if (dladdr(address_in_module, &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code ec;
  std::filesystem::path file = std::filesystem::weakly_canonical(info.dli_fname, ec);
  if (ec) file = info.dli_fname;
  return file.parent_path();
}

}  // namespace kovra
