#include "library/UnitFormUrlFilterMsg.h"

#include "library/UnitHostString.h"

namespace kovra {

std::u16string InterceptNotice() {
  std::u16string text =
      u"拦截到一个自动跳转的外部网址，是否允许进行？        如果以后不需要提示，可以选择  ";
  text += u'"';
  text += kSetFiltersCaption;
  text += u'"';
  text += u"  ，以自动过滤或自动允许，而不进行提示。";
  return text;
}

int32_t TInterceptAsker::AskUser(std::string_view url, TFilterCheck& rec) {
  rec.Asked = -1;
  const std::string_view parent = HostView(rec.ParentUrl);
  uint32_t script_id = 0;
  if (editors_.ScriptIdForUrl(parent, script_id)) {
    rec.ScriptId = script_id;
    editors_.OpenEditorForUrl(parent, url, script_id);
    return -1;
  }
  if (!show_dialog_) return -1;
  return InterceptAnswer(show_dialog_({std::string(parent), std::string(url), rec.ScriptId}));
}

}  // namespace kovra
