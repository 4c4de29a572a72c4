// What the header editor window decides, apart from its widgets: the texts
// of its rows, the header line each input produces, the values a script text
// loads into the inputs, and the script text composed from the seven line
// displays and the two memos.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovra {

inline constexpr int32_t kHeaderRows = 7;

// Row labels, line labels (these say "Parsers Version", the row "Parser
// Version") and tips, by the inputs' Tag 0 to 6.
inline constexpr std::array<std::u16string_view, kHeaderRows> kHeaderRowLabels = {
    u"Parser Version", u"Name",        u"Match Url",         u"Match mode",
    u"Entry point",    u"Need Result", u"Result to New page"};
inline constexpr std::array<std::u16string_view, kHeaderRows> kHeaderLineLabels = {
    u"Parsers Version", u"Name",        u"Match Url",         u"Match Mode",
    u"Entry Point",     u"Need Result", u"Result to New Page"};
inline constexpr std::array<std::u16string_view, kHeaderRows> kHeaderTips = {
    u"必须，声明使用的解析器版本",
    u"必须，这个脚本的名字。用于调用这个脚本。必须与其他脚本的名字不同！",
    u"必须，当前脚本匹配的网址。可用+号分隔。如'Url1'+'Url2'+'Url3'",
    u"必须，网址匹配模式：短匹配/长匹配/完全匹配",
    u"必须，自动拦截（针对匹配网址）/手动（针对当前页）",
    u"必须，声明是否需要返回数据",
    u"在NeedResult为True时有效，声明是否返回数据到新页面",
};

// The items of the four drop-down lists (Tags 3 to 6), numbered from 0.
inline constexpr std::array<std::u16string_view, 3> kMatchModeItems = {u"ExactMatch", u"xMatchLong",
                                                                       u"xMatchShort"};
inline constexpr std::array<std::u16string_view, 2> kEntryPointItems = {u"Auto", u"NowDocunent"};
inline constexpr std::array<std::u16string_view, 2> kBooleanItems = {u"False", u"True"};

// A version is digits and dots only (the empty text passes).
bool IsVersionText(std::u16string_view text);

// The line display of an edit (Tags 0 to 2) or a list (Tags 3 to 6): label,
// " = ", "v " for the version, the text, " ;".
std::u16string HeaderLine(int32_t tag, std::u16string_view text);

// The inputs' values after loading a script text: the defaults, replaced by
// what the text's header block and blocks give.
struct THeaderEditorValues {
  std::u16string version = u"1";
  std::u16string name = u"de_nowage";
  std::u16string match_url = u"'NowPage'";
  int32_t match_mode = 1;
  int32_t entry_point = 0;
  int32_t need_result = 1;
  int32_t result_to_new_page = 0;
  std::u16string define_variant;
  std::u16string script_content;
  // The header block gave a match address (else the default stands).
  bool match_url_given = false;
};
THeaderEditorValues HeaderEditorValues(std::u16string_view script_text);

// The script text from the seven line displays (taken as they read, so a
// version line keeps its last valid value) and the two memos' texts.
std::u16string ComposeFromHeaderLines(const std::array<std::u16string, kHeaderRows>& lines,
                                      std::u16string_view define_variant,
                                      std::u16string_view script_content);

}  // namespace kovra
