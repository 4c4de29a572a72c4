#include "library/UnitEngine_urlFilterFn.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

#include "library/UnitHostString.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "platform/Prompt.h"
#include "textlib/UnitUrlFunctions.h"

namespace kovra {
namespace {

bool IsBlank(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

std::string LowerBytes(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

std::string RemoveBlanksAndNul(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (!IsBlank(c) && c != '\0') out += c;
  }
  return out;
}

// The elements of a counted list: pointer to the first, int32 count before it.
std::string_view ListItem(const char* const* list, int32_t i) { return HostView(list[i]); }

int32_t ListCount(const char* const* list) {
  if (list == nullptr) return 0;
  int32_t count = 0;
  std::memcpy(&count, reinterpret_cast<const char*>(list) - 4, sizeof count);
  return count < 0 ? 0 : count;
}

}  // namespace

bool IsCrossSite(std::string_view a, std::string_view b) {
  return LowerBytes(MainDomain(a)) != LowerBytes(MainDomain(b));
}

bool HasRawScriptText(std::string_view t) {
  const size_t n = t.size();
  // Positions 1 .. n-1: the last character is never looked at.
  size_t i = 0;
  while (i + 1 < n && IsBlank(t[i])) ++i;
  if (i + 1 >= n || t[i] != '[') return false;
  const size_t j = t.find(']');
  if (j == std::string_view::npos || j < i) return false;
  if (LowerBytes(RemoveBlanksAndNul(t.substr(i + 1, j - i - 1))) != "script") return false;
  size_t k = j + 1;
  while (k + 1 < n && IsBlank(t[k])) ++k;
  return k + 1 < n && t[k] != '[';
}

void GetFiltersFromParentUrl(const TScriptLibrary& library, TPrompt& prompt, TParentFilters& rec) {
  const std::string_view parent = HostView(rec.ParentUrl);
  if (IsBlankPageUrl(parent)) return;
  try {
    const TScripts* e = library.FirstEntryCovering(parent);
    if (e == nullptr) return;
    rec.ScriptId = e->ID;
    rec.Found = -1;
    int32_t allow = 0;
    int32_t filter = 0;
    char* ex_url = nullptr;  // ours, when an [ExUrl] rule was written in this call
    for (const std::string& entry : e->Navigate2Set) {
      const size_t p = entry.find(']');
      if (p == std::string::npos) break;  // rules after an entry without "]" are not read
      const std::string_view kind = std::string_view(entry).substr(0, p + 1);
      const std::string value = RemoveBlanksAndNul(std::string_view(entry).substr(p + 1));
      if (kind == "[ExUrl]") {
        // A later rule replaces an earlier one; the text written for the
        // earlier one was never handed over.
        char* replaced = ex_url;
        rec.ExUrl = ex_url = NewHostString(LowerBytes(value));
        KovraFreeHostString(replaced);
      } else if (kind == "[Allow]") {
        if (++allow < 255) rec.Allow[allow - 1] = NewHostString(value);
      } else if (kind == "[Filter]") {
        if (++filter < 255) rec.Filter[filter - 1] = NewHostString(value);
      }
    }
    if (HasRawScriptText(e->Script)) rec.HasRawScript = -1;
  } catch (...) {
    std::u16string text = u"_Error_: func GetFiltersFromParentUrl. Error ParentUrl:\r";
    text += ToWide(parent);
    prompt.ShowNotice(u"debug", text);
  }
}

int32_t IsInFilters(std::string_view url, TFilterCheck& rec, int32_t ask, TAskUser& asker,
                    TFilterReason* reason) {
  TFilterReason local;
  TFilterReason& why = reason != nullptr ? *reason : local;
  why = TFilterReason();
  auto decide = [&](TFilterReason::Kind kind, int32_t answer) {
    why.kind = kind;
    return answer;
  };
  const std::string_view parent = HostView(rec.ParentUrl);
  if (IsBlankPageUrl(parent) || IsBlankPageUrl(url) || parent.empty()) {
    return decide(TFilterReason::Kind::kNotANavigation, 0);
  }
  const std::string lower_url = LowerBytes(url);
  if (lower_url == "about:blank" || url.empty() || lower_url.starts_with("javascript:")) {
    return decide(TFilterReason::Kind::kNotANavigation, 0);
  }
  if (rec.Found != 0) {
    const std::string_view ex_url = HostView(rec.ExUrl);
    if (!ex_url.empty()) {
      const std::string x = LowerBytes(RemoveBlanksAndNul(ex_url));
      if (x == "allallow") return decide(TFilterReason::Kind::kAllAllow, 0);
      if (x == "allfilter") {
        return IsCrossSite(parent, url) ? decide(TFilterReason::Kind::kAllFilter, -1)
                                        : decide(TFilterReason::Kind::kSameSiteExUrl, 0);
      }
    }
    // An address both allowed and filtered is allowed.
    const TUrlPatternMatcher target(url);
    for (int32_t i = 0, n = ListCount(rec.Allow); i < n; ++i) {
      if (target.Matches(ListItem(rec.Allow, i))) {
        why.pattern = ListItem(rec.Allow, i);
        return decide(TFilterReason::Kind::kAllowPattern, 0);
      }
    }
    for (int32_t i = 0, n = ListCount(rec.Filter); i < n; ++i) {
      if (target.Matches(ListItem(rec.Filter, i))) {
        why.pattern = ListItem(rec.Filter, i);
        return decide(TFilterReason::Kind::kFilterPattern, -1);
      }
    }
  }
  if (ask != 0 && IsCrossSite(parent, url)) {
    return decide(TFilterReason::Kind::kAsked, asker.AskUser(url, rec));
  }
  return decide(TFilterReason::Kind::kNoRule, 0);
}

const char* SafeDeDomain(std::string_view url) {
  static std::mutex mutex;
  static std::unordered_set<std::string>* domains = new std::unordered_set<std::string>();
  const std::string d = MainDomain(url);
  if (d.empty()) return "error";
  std::lock_guard lock(mutex);
  return domains->insert(d).first->c_str();
}

}  // namespace kovra
