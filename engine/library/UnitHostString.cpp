#include "library/UnitHostString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace kovra {

std::string_view HostView(const char* s) {
  if (s == nullptr) return {};
  int32_t length = 0;
  std::memcpy(&length, s - 4, sizeof length);
  if (length <= 0) return {};
  return {s, static_cast<size_t>(length)};
}

char* NewHostString(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) - 9) {
    throw std::bad_alloc();
  }
  char* block = static_cast<char*>(std::malloc(8 + bytes.size() + 1));
  if (block == nullptr) throw std::bad_alloc();
  const int32_t refcount = 1;
  const int32_t length = static_cast<int32_t>(bytes.size());
  std::memcpy(block, &refcount, 4);
  std::memcpy(block + 4, &length, 4);
  std::memcpy(block + 8, bytes.data(), bytes.size());
  block[8 + bytes.size()] = '\0';
  return block + 8;
}

}  // namespace kovra
