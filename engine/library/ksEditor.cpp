#include "library/ksEditor.h"

#include <array>
#include <vector>

#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

using WView = std::u16string_view;

const TTextList& MarkerBlanks() {
  static const TTextList list{u" ", u"\t", u"\n", u"\r"};
  return list;
}

// Finds a block between two markers from `from` (blanks may stand inside
// the markers); on success moves `from` behind the closing marker.
bool FindBlock(WView text, WView lowered, WView open, WView close, int32_t& from, WView& content) {
  const TMatchSpan a = FindTextSkipping(lowered, from, open, MarkerBlanks());
  if (a.end == 0) return false;
  const TMatchSpan b = FindTextSkipping(lowered, a.end + 1, close, MarkerBlanks());
  if (b.end == 0) return false;
  content = CopyRange(text, a.end + 1, b.start - 1);
  from = b.end + 1;
  return true;
}

// The blocks' content as the builder frames it loses its first two spaces.
WView DropTwoSpaces(WView content) {
  return content.starts_with(u"  ") ? content.substr(2) : content;
}

constexpr WView kCrLf = u"\r\n";

}  // namespace

std::vector<std::u16string_view> MatchPatterns(std::u16string_view match_url) {
  static constexpr WView kPlus[] = {u"+"};
  std::vector<WView> patterns;
  TSplitResult split;
  if (SplitText(match_url, kPlus, nullptr, u"'", u"'", u"''", split)) {
    for (WView part : split.parts) patterns.push_back(StripQuotes(part));
  }
  return patterns;
}

std::u16string_view MatchModeWord(TMatchMode mode) {
  switch (mode) {
    case TMatchMode::ExactMatch: return u"ExactMatch";
    case TMatchMode::xMatchShort: return u"xMatchShort";
    default: return u"xMatchLong";
  }
}

std::u16string_view EntryPointWord(TEntryPoint point) {
  return point == TEntryPoint::Auto ? u"Auto" : u"NowDocunent";
}

TScriptHeader ParseScriptText(std::u16string_view text) {
  TScriptHeader h;
  const std::u16string low = LowerAscii(text);
  if (low.empty()) return h;
  int32_t from = 1;
  WView content;
  if (FindBlock(text, low, u"[headermessage]", u"[/headermessage]", from, content)) {
    const std::u16string n = LowerAscii(RemoveChars(content, {u' ', u'\t', u'\n', u'\r'}));
    // Each key is found at its first occurrence anywhere in the header, up
    // to the next ";".
    auto value = [&](WView key) {
      std::u16string marker(key);
      marker += u'=';
      return std::u16string(CopyBetween(n, 1, marker, u";"));
    };
    if (auto v = value(u"parserversion"); !v.empty()) h.ParserVersion = v;
    if (auto v = value(u"name"); !v.empty()) h.Name = v;
    if (auto v = value(u"matchurl"); !v.empty()) h.MatchUrl = v;
    if (auto v = value(u"matchmode"); !v.empty()) {
      if (v == u"exactmatch") h.MatchMode = TMatchMode::ExactMatch;
      if (v == u"xmatchlong") h.MatchMode = TMatchMode::xMatchLong;
      if (v == u"xmatchshort") h.MatchMode = TMatchMode::xMatchShort;
    }
    if (auto v = value(u"entrypoint"); !v.empty()) {
      h.EntryPoint = v == u"auto" ? TEntryPoint::Auto : TEntryPoint::NowDocunent;
    }
    if (auto v = value(u"needresult"); v == u"true" || v == u"false") h.NeedResult = v == u"true";
    if (auto v = value(u"resulttonewpage"); v == u"true" || v == u"false") {
      h.ResultToNewPage = v == u"true";
    }
  }
  if (FindBlock(text, low, u"[definevariant]", u"[/definevariant]", from, content)) {
    h.DefineVariant = DropTwoSpaces(content);
  }
  if (FindBlock(text, low, u"[scriptcontent]", u"[/scriptcontent]", from, content)) {
    h.ScriptContent = DropTwoSpaces(content);
  }
  return h;
}

std::u16string ComposeScriptText(const TScriptHeader& h) {
  std::u16string out;
  auto line = [&out](WView text = {}) {
    out += text;
    out += kCrLf;
  };
  auto header_line = [&](WView label, WView value1, WView value2 = {}) {
    out += u"    ";
    out += label;
    out += u" = ";
    out += value1;
    out += value2;
    out += u" ;";
    out += kCrLf;
  };
  auto indented = [&](WView text) {
    for (WView l : SplitTextLines(text)) {
      out += u"    ";
      line(l);
    }
  };
  line(u"[Script]");
  line();
  line(u"  [Header Message]");
  line();
  header_line(u"Parsers Version", u"v ", h.ParserVersion);
  header_line(u"Name", h.Name);
  header_line(u"Match Url", h.MatchUrl);
  header_line(u"Match Mode", MatchModeWord(h.MatchMode));
  header_line(u"Entry Point", EntryPointWord(h.EntryPoint));
  header_line(u"Need Result", h.NeedResult ? u"True" : u"False");
  header_line(u"Result to New Page", h.ResultToNewPage ? u"True" : u"False");
  line();
  line(u"  [/Header Message]");
  line();
  line();
  line();
  line(u"  [Define Variant]");
  line();
  indented(h.DefineVariant);
  line();
  line(u"  [/Define Variant]");
  line();
  line();
  line();
  line(u"  [Script Content]");
  line();
  indented(h.ScriptContent);
  line();
  line(u"  [/Script Content]");
  line();
  out += u"[/Script]";
  return out;
}

}  // namespace kovra
