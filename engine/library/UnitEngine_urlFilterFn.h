// The navigation filter and the black list as the host sees them: the rules
// that apply below a page, the allow/filter decision for one jump, and the
// safe main domain of an address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "KovraEngine.h"

namespace kovra {

class TScriptLibrary;
class TPrompt;

// The ask step: puts an undecided cross-site jump to the user. Answers 0
// (allow) or -1 (filter); sets rec.Asked to -1 and may overwrite
// rec.ScriptId.
class TAskUser {
 public:
  virtual ~TAskUser() = default;
  virtual int32_t AskUser(std::string_view url, TFilterCheck& rec) = 0;
};

// The ask step when no dialog can be shown: filter, as if the dialog had
// been closed.
class TNoAskUser final : public TAskUser {
 public:
  int32_t AskUser(std::string_view, TFilterCheck& rec) override {
    rec.Asked = -1;
    return -1;
  }
};

// True when the two addresses have different main domains.
bool IsCrossSite(std::string_view a, std::string_view b);

// True when the script text holds something other than a bracketed block
// right after its "[Script]" marker (a script not in header form).
bool HasRawScriptText(std::string_view script);

// Fills the record from the first script covering rec.ParentUrl. A failure
// on the way shows the "debug" notice and leaves the record as far as it was
// filled.
void GetFiltersFromParentUrl(const TScriptLibrary& library, TPrompt& prompt, TParentFilters& rec);

// What decided a navigation.
struct TFilterReason {
  enum class Kind : uint8_t {
    kNotANavigation,  // blank parent or target, javascript:, about:blank
    kAllAllow,        // [ExUrl] All Allow
    kAllFilter,       // [ExUrl] All Filter, target on another site
    kSameSiteExUrl,   // [ExUrl] All Filter, target on the same site
    kAllowPattern,    // an [Allow] pattern matched
    kFilterPattern,   // a [Filter] pattern matched
    kAsked,           // no rule decided a cross-site jump: the ask step answered
    kNoRule,          // no rule decided and nobody was asked
  };
  Kind kind = Kind::kNoRule;
  std::string pattern;  // for kAllowPattern / kFilterPattern
};

// 0 allow, -1 filter; `reason`, when given, receives what decided.
int32_t IsInFilters(std::string_view url, TFilterCheck& rec, int32_t ask, TAskUser& asker,
                    TFilterReason* reason = nullptr);

// The address's main domain as a text kept for the life of the process
// (equal domains share one), or "error".
const char* SafeDeDomain(std::string_view url);

}  // namespace kovra
