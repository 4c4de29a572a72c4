// The ask step: an open manager window takes the target, else the intercept
// dialog's modal result decides.
#include "library/UnitFormUrlFilterMsg.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <vector>

namespace kovra {
namespace {

class TFakeEditors final : public TEditorRegistry {
 public:
  bool ScriptIdForUrl(std::string_view url, uint32_t& script_id) override {
    asked.emplace_back(url);
    if (!covers) return false;
    script_id = window_id;
    return true;
  }
  void OpenEditorForUrl(std::string_view url, std::string_view target,
                        uint32_t script_id) override {
    opened.push_back(std::string(url) + " | " + std::string(target) + " | " +
                     std::to_string(script_id));
  }
  bool covers = false;
  uint32_t window_id = 0;
  std::vector<std::string> asked;
  std::vector<std::string> opened;
};

using kovra_test::THostString;

TEST(AskStepTest, OpenWindowTakesTheTargetWithoutADialog) {
  TFakeEditors editors;
  editors.covers = true;
  editors.window_id = 9;
  int dialogs = 0;
  TInterceptAsker asker(editors, [&](const TInterceptQuestion&) {
    ++dialogs;
    return kModalAllow;
  });
  const THostString parent("http://news.test/a");
  TFilterCheck rec{};
  rec.ParentUrl = parent.get();
  rec.ScriptId = 2;
  EXPECT_EQ(asker.AskUser("http://pop.test/", rec), -1);
  EXPECT_EQ(rec.Asked, -1);
  EXPECT_EQ(rec.ScriptId, 9u);
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(editors.asked, (std::vector<std::string>{"http://news.test/a"}));
  EXPECT_EQ(editors.opened,
            (std::vector<std::string>{"http://news.test/a | http://pop.test/ | 9"}));
}

TEST(AskStepTest, DialogResultDecides) {
  struct Case {
    int32_t modal_result;
    int32_t answer;
  };
  const Case cases[] = {
      {kModalAllow, 0}, {kModalBlock, -1}, {0, -1} /* no dialog could be shown */};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.modal_result);
    TFakeEditors editors;
    TInterceptQuestion seen;
    TInterceptAsker asker(editors, [&](const TInterceptQuestion& q) {
      seen = q;
      return c.modal_result;
    });
    const THostString parent("http://news.test/a");
    TFilterCheck rec{};
    rec.ParentUrl = parent.get();
    rec.ScriptId = 4;
    EXPECT_EQ(asker.AskUser("http://pop.test/x", rec), c.answer);
    EXPECT_EQ(rec.Asked, -1);
    EXPECT_EQ(rec.ScriptId, 4u);
    EXPECT_EQ(seen.source, "http://news.test/a");
    EXPECT_EQ(seen.target, "http://pop.test/x");
    EXPECT_EQ(seen.script_id, 4u);
    EXPECT_TRUE(editors.opened.empty());
  }
}

TEST(AskStepTest, NoticeNamesTheSetFiltersButton) {
  EXPECT_EQ(InterceptNotice(),
            u"拦截到一个自动跳转的外部网址，是否允许进行？        如果以后不需要提示，可以选择  "
            u"\"为当前网站设定过滤规则...\"  ，以自动过滤或自动允许，而不进行提示。");
}

}  // namespace
}  // namespace kovra
