// Host strings at the export boundary: reading the host's length-prefixed
// 8-bit texts and handing out new ones in the layout hosts release with
// free((char*)p - 8).
#pragma once

#include <string>
#include <string_view>

namespace kovra {

// The bytes of a host string; null, or a negative length, is the empty text.
std::string_view HostView(const char* s);

// A new host string [refcount 1][length][bytes][NUL]; null for an empty
// text. Throws std::bad_alloc when memory runs out.
char* NewHostString(std::string_view bytes);

}  // namespace kovra
