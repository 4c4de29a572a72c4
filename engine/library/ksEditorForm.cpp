#include "library/ksEditorForm.h"

#include <algorithm>

#include "library/ksEditor.h"

namespace kovra {

bool IsVersionText(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.'; });
}

std::u16string HeaderLine(int32_t tag, std::u16string_view text) {
  std::u16string line(kHeaderLineLabels[static_cast<size_t>(tag)]);
  line += u" = ";
  if (tag == 0) line += u"v ";
  line += text;
  line += u" ;";
  return line;
}

THeaderEditorValues HeaderEditorValues(std::u16string_view script_text) {
  const TScriptHeader h = ParseScriptText(script_text);
  THeaderEditorValues v;
  v.version = h.ParserVersion;
  v.name = h.Name;
  v.match_url = h.MatchUrl;
  // Header values come back lower-cased, so only the untouched default
  // reads "'NowPage'".
  v.match_url_given = h.MatchUrl != TScriptHeader().MatchUrl;
  v.match_mode = static_cast<int32_t>(h.MatchMode);
  v.entry_point = static_cast<int32_t>(h.EntryPoint);
  v.need_result = h.NeedResult ? 1 : 0;
  v.result_to_new_page = h.ResultToNewPage ? 1 : 0;
  v.define_variant = h.DefineVariant;
  v.script_content = h.ScriptContent;
  return v;
}

std::u16string ComposeFromHeaderLines(const std::array<std::u16string, kHeaderRows>& lines,
                                      std::u16string_view define_variant,
                                      std::u16string_view script_content) {
  TScriptHeader h;
  h.DefineVariant = define_variant;
  h.ScriptContent = script_content;
  const std::u16string composed = ComposeScriptText(h);
  // The builder's layout with its seven header lines (the fifth to the
  // eleventh line) replaced by the line displays.
  std::u16string out;
  size_t pos = 0;
  for (int32_t line = 0; pos <= composed.size(); ++line) {
    size_t end = composed.find(u"\r\n", pos);
    if (end == std::u16string::npos) end = composed.size();
    if (line >= 4 && line < 4 + kHeaderRows) {
      out += u"    ";
      out += lines[static_cast<size_t>(line - 4)];
    } else {
      out.append(composed, pos, end - pos);
    }
    if (end == composed.size()) break;
    out += u"\r\n";
    pos = end + 2;
  }
  return out;
}

}  // namespace kovra
