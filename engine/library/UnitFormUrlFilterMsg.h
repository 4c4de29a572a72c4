// The ask step and what the intercept report dialog decides, apart from its
// window: an undecided cross-site jump goes to an open script manager
// window that covers the page, or is put to the user in the dialog, whose
// allow button alone lets it through.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "library/CoordinationController.h"
#include "library/UnitEngine_urlFilterFn.h"

namespace kovra {

inline constexpr std::u16string_view kInterceptCaption = u"来自 Kovra Engine 的拦截报告！";
inline constexpr std::u16string_view kAllowCaption = u"允许跳转";
inline constexpr std::u16string_view kBlockCaption = u"阻止跳转";
inline constexpr std::u16string_view kAddToBlackListCaption = u"加入黑名单!";
inline constexpr std::u16string_view kSetFiltersCaption = u"为当前网站设定过滤规则...";
inline constexpr std::u16string_view kSourceCaption = u"源网址";
inline constexpr std::u16string_view kTargetCaption = u"跳转网址";

// The notice under the buttons, naming the set-filters button.
std::u16string InterceptNotice();

// The dialog's modal results: the allow button gives 1, every other way of
// closing it 2.
inline constexpr int32_t kModalAllow = 1;
inline constexpr int32_t kModalBlock = 2;
// 0 allow for the allow button's result, -1 filter for anything else.
inline int32_t InterceptAnswer(int32_t modal_result) {
  return modal_result == kModalAllow ? 0 : -1;
}

// What the dialog is opened with.
struct TInterceptQuestion {
  std::string source;  // the parent page (EdSrc)
  std::string target;  // the jump's target (EdBreak)
  uint32_t script_id = 0;
};

// Shows the dialog modally and answers its modal result; 0 when it cannot be
// shown.
using TShowInterceptDialog = std::function<int32_t(const TInterceptQuestion&)>;

class TInterceptAsker final : public TAskUser {
 public:
  TInterceptAsker(TEditorRegistry& editors, TShowInterceptDialog show_dialog)
      : editors_(editors), show_dialog_(std::move(show_dialog)) {}

  // Asked := -1. An open manager window covering the parent page takes the
  // target as a "[Filter]" entry (its script ID goes into rec.ScriptId) and
  // the jump is filtered without a dialog; otherwise the dialog answers.
  int32_t AskUser(std::string_view url, TFilterCheck& rec) override;

 private:
  TEditorRegistry& editors_;
  TShowInterceptDialog show_dialog_;
};

}  // namespace kovra
