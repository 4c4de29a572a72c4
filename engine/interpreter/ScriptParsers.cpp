#include "interpreter/ScriptParsers.h"

#include "textlib/UnitEngineDeFunction.h"

namespace kovra {

TScriptDeclarations ReadDeclarations(std::u16string_view lowered_script) {
  TScriptDeclarations out;
  const std::u16string block = NormalizeWord(CopyBetween(lowered_script, 1, u"var", u"endvar"));
  static constexpr std::u16string_view kTypes[] = {u":integer;", u":string;"};
  TSplitResult split;
  if (!SplitText(block, kTypes, nullptr, {}, {}, {}, split)) return out;
  for (size_t i = 0; i < split.parts.size(); ++i) {
    const std::u16string_view type = split.separators[i];
    if (type.empty()) continue;  // text after the last declaration
    const std::u16string_view name = TrimBlanks(split.parts[i]);
    if (name.empty()) continue;
    (type == kTypes[0] ? out.int_names : out.str_names).emplace_back(name);
  }
  return out;
}

std::u16string_view FindScriptBody(std::u16string_view script, std::u16string_view lowered_script) {
  static const TTextList kBlanks{u" ", u"\t", u"\n", u"\r"};
  const TMatchSpan open = FindTextSkipping(lowered_script, 1, u"[script]", kBlanks);
  if (open.end == 0) return {};
  const TMatchSpan close = FindTextSkipping(lowered_script, open.end + 1, u"[/script]", kBlanks);
  if (close.end == 0) return {};
  return CopyRange(script, open.end + 1, close.start - 1);
}

TRunOutcome RunScriptText(std::u16string_view script, std::u16string data,
                          const TRunEnvironment& env) {
  const std::u16string lowered = LowerAscii(script);
  const TScriptDeclarations decl = ReadDeclarations(lowered);
  const std::u16string_view body = FindScriptBody(script, lowered);
  TParsers parser(decl.int_names, decl.str_names, {}, env);
  parser.SetResultText(std::move(data));
  TRunOutcome outcome;
  outcome.text = parser.Run(body);
  outcome.failed = !parser.ErrorText().empty();
  return outcome;
}

}  // namespace kovra
