#include "interpreter/UnitFunctionLibrary.h"

#include <algorithm>
#include <string>

#include "platform/CodePage.h"
#include "platform/Prompt.h"
#include "textlib/UnitBuiltinBodies.h"
#include "textlib/UnitEngineDeFunction.h"
#include "textlib/UnitUrlFunctions.h"

namespace kovra::builtins {

namespace {

TFuncValue Number(int32_t value) {
  TFuncValue v;
  v.number = value;
  return v;
}

TFuncValue Flag(bool value) {
  TFuncValue v;
  v.flag = value;
  return v;
}

TFuncValue Text(WView value) {
  TFuncValue v;
  v.text.assign(value);
  return v;
}

TFuncValue Text(WStr&& value) {
  TFuncValue v;
  v.text = std::move(value);
  return v;
}

// pose / posa: the same search reporting the end or the start.
TFuncValue FindTextBody(const TArgList& args, bool at_start) {
  return Number(FindText(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2]), at_start));
}

// copyqs / copyqsin: copyqs searches its first mark from position 1.
TFuncValue CopyBetweenBody(const TArgList& args, bool has_from) {
  const size_t m = has_from ? 2 : 1;
  const int32_t from = has_from ? ArgToInt(args[1]) : 1;
  return Text(CopyBetween(NormArg(args[0]), from, NormArg(args[m]), NormArg(args[m + 1])));
}

// copyqs_htm / copyqs_htmin: the text after the first tag "<...tag...>" up to
// the next '<'.
TFuncValue CopyTagBody(const TArgList& args, bool has_from) {
  const size_t t = has_from ? 2 : 1;
  const int32_t from = has_from ? ArgToInt(args[1]) : 1;
  const WView tag = NormArg(args[t]);
  WStr pattern;
  pattern.reserve(tag.size() + 4);
  pattern.append(u"<*").append(tag).append(u"*>");
  return Text(CopyBetweenMatches(NormArg(args[0]), from, pattern, u"<"));
}

enum class TTrimOp {
  kRemoveSpaces,
  kTrimSpaces,
  kRemoveLineBreaks,
  kTrimLineBreaks,
  kRemoveTabs,
  kNormalizeWord,
  kTrimLeftSpaces,
  kTrimRightSpaces,
  kRemoveTags,
};

// The one-argument trims.
TFuncValue TrimBody(const TArgList& args, TTrimOp op) {
  const WView text = NormArg(args[0]);
  switch (op) {
    case TTrimOp::kRemoveSpaces:
      return Text(RemoveSpaces(text));
    case TTrimOp::kTrimSpaces:
      return Text(TrimSpaces(text));
    case TTrimOp::kRemoveLineBreaks:
      return Text(RemoveLineBreaks(text));
    case TTrimOp::kTrimLineBreaks:
      return Text(TrimLineBreaks(text));
    case TTrimOp::kRemoveTabs:
      return Text(RemoveTabs(text));
    case TTrimOp::kNormalizeWord:
      return Text(NormalizeWord(text));
    case TTrimOp::kTrimLeftSpaces:
      return Text(TrimLeftSpaces(text));
    case TTrimOp::kTrimRightSpaces:
      return Text(TrimRightSpaces(text));
    case TTrimOp::kRemoveTags:
      return Text(RemoveTags(text));
  }
  return {};
}

// fndedomain / fnfulldomain: the URL routines work on the 8-bit form.
TFuncValue DomainBody(const TArgList& args, bool full_host) {
  const std::string address = ToNarrow(NormArg(args[0]));
  return Text(ToWide(full_host ? HostOf(address) : MainDomain(address)));
}

void StepBody(TArgList& args, bool up) {
  // 32-bit wrap-around: one more than 2147483647 is -2147483648.
  const uint32_t value = static_cast<uint32_t>(ArgToInt(args[0]));
  args.Set(0, IntToText(static_cast<int32_t>(up ? value + 1u : value - 1u)));
}

}  // namespace

// ---- Functions ---------------------------------------------------------------

TFuncValue Msg(const TArgList& args, TCallContext& ctx) {
  TPrompt& prompt = ctx.prompt ? *ctx.prompt : TNoPrompt::Instance();
  return Number(prompt.AskYesNoCancel(NormArg(args[0]), NormArg(args[1])));
}

TFuncValue PosCharA(const TArgList& args, TCallContext&) {
  return Number(FindCharInSet(NormArg(args[0]), ArgToInt(args[1]), ArgToCharSet(args[2])));
}

TFuncValue PosChar(const TArgList& args, TCallContext&) {
  return Number(FindChar(NormArg(args[0]), ArgToInt(args[1]), ArgToChar(args[2])));
}

TFuncValue PosIgnChar(const TArgList& args, TCallContext&) {
  return Number(SkipCharForward(NormArg(args[0]), ArgToChar(args[1])));
}

TFuncValue PosIgnCharA(const TArgList& args, TCallContext&) {
  return Number(FindCharNotInSet(NormArg(args[0]), ArgToInt(args[1]), ArgToCharSet(args[2])));
}

TFuncValue PosRIgnChar(const TArgList& args, TCallContext&) {
  return Number(SkipCharBackward(NormArg(args[0]), ArgToChar(args[1])));
}

TFuncValue PosForwardChar(const TArgList& args, TCallContext&) {
  const WView text = NormArg(args[0]);
  // A start beyond the end scans from the last character, as the other
  // backward searches do.
  const int32_t from =
      static_cast<int32_t>(std::min<int64_t>(ArgToInt(args[1]), static_cast<int64_t>(text.size())));
  return Number(FindCharBackward(text, from, ArgToChar(args[2])));
}

TFuncValue PosForwardLongChar(const TArgList& args, TCallContext&) {
  return Number(FindTextBackward(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2])));
}

TFuncValue PosForwardLongCharA(const TArgList& args, TCallContext&) {
  return Number(FindAnyTextBackward(NormArg(args[0]), ArgToInt(args[1]), ArgToTextList(args[2])));
}

TFuncValue PosLongChar(const TArgList& args, TCallContext&) {
  return Number(
      FindText(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2]), ArgToBool(args[3])));
}

TFuncValue PosLongCharC(const TArgList& args, TCallContext&) {
  // The second argument (a start position) has never had an effect here.
  return Number(FindTextNth(NormArg(args[0]), NormArg(args[2]), ArgToInt(args[3])));
}

TFuncValue PosE(const TArgList& args, TCallContext&) {
  return FindTextBody(args, false);
}
TFuncValue PosA(const TArgList& args, TCallContext&) {
  return FindTextBody(args, true);
}

TFuncValue CopyC(const TArgList& args, TCallContext&) {
  return Text(CopyCount(NormArg(args[0]), ArgToInt(args[1]), ArgToInt(args[2])));
}

TFuncValue CopyQi(const TArgList& args, TCallContext&) {
  return Text(CopyRange(NormArg(args[0]), ArgToInt(args[1]), ArgToInt(args[2])));
}

TFuncValue CopyQs(const TArgList& args, TCallContext&) {
  return CopyBetweenBody(args, false);
}
TFuncValue CopyQsIn(const TArgList& args, TCallContext&) {
  return CopyBetweenBody(args, true);
}

TFuncValue CopyQsMatch(const TArgList& args, TCallContext&) {
  return Text(
      CopyBetweenMatches(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2]), NormArg(args[3])));
}

TFuncValue CopyQsHtm(const TArgList& args, TCallContext&) {
  return CopyTagBody(args, false);
}
TFuncValue CopyQsHtmIn(const TArgList& args, TCallContext&) {
  return CopyTagBody(args, true);
}

TFuncValue TrimCharA(const TArgList& args, TCallContext&) {
  return Text(RemoveChars(NormArg(args[0]), ArgToCharSet(args[1])));
}

TFuncValue TrimSpace(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kRemoveSpaces);
}
TFuncValue TrimLrSpace(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kTrimSpaces);
}
TFuncValue TrimEReturn(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kRemoveLineBreaks);
}
TFuncValue TrimLrEReturn(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kTrimLineBreaks);
}
TFuncValue TrimTab(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kRemoveTabs);
}
// Despite its name it trims spaces only, like trimlrspace.
TFuncValue TrimLrSpaceEReturn(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kTrimSpaces);
}
TFuncValue TrimWithKovra(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kNormalizeWord);
}
TFuncValue TrimLeft(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kTrimLeftSpaces);
}
TFuncValue TrimRight(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kTrimRightSpaces);
}
TFuncValue TrimHtm(const TArgList& args, TCallContext&) {
  return TrimBody(args, TTrimOp::kRemoveTags);
}

TFuncValue TrimLrBracketsChr(const TArgList& args, TCallContext&) {
  return Text(StripPair(NormArg(args[0]), ArgToChar(args[1]), ArgToChar(args[2])));
}

TFuncValue TrimSub(const TArgList& args, TCallContext&) {
  return Text(RemoveOccurrences(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2])));
}

TFuncValue TrimMatchSub(const TArgList& args, TCallContext&) {
  return Text(RemoveMatches(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2])));
}

TFuncValue IsMatch(const TArgList& args, TCallContext&) {
  return Flag(IsWildMatch(NormArg(args[0]), NormArg(args[1])));
}

TFuncValue IsPosAt(const TArgList& args, TCallContext&) {
  return Flag(IsTextAt(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2])));
}

TFuncValue IsCharIn(const TArgList& args, TCallContext&) {
  return Flag(CharInSet(ArgToChar(args[0]), ArgToCharSet(args[1])));
}

TFuncValue IsLongCharIn(const TArgList& args, TCallContext&) {
  return Flag(TextInList(NormArg(args[0]), ArgToTextList(args[1])));
}

TFuncValue FnDeDomain(const TArgList& args, TCallContext&) {
  return DomainBody(args, false);
}
TFuncValue FnFullDomain(const TArgList& args, TCallContext&) {
  return DomainBody(args, true);
}

TFuncValue FnOneDomain(const TArgList& args, TCallContext&) {
  return Flag(SameMainDomain(ToNarrow(NormArg(args[0])), ToNarrow(NormArg(args[1]))));
}

TFuncValue FnLowerCase(const TArgList& args, TCallContext&) {
  return Text(LowerAscii(NormArg(args[0])));
}

TFuncValue FnUpCase(const TArgList& args, TCallContext&) {
  return Text(UpperAscii(NormArg(args[0])));
}

TFuncValue FnItMatch(const TArgList& args, TCallContext&) {
  return Flag(MatchUrlPattern(ToNarrow(NormArg(args[0])), ToNarrow(NormArg(args[1]))));
}

// The argument itself, normalized but not checked to be a number.
TFuncValue FnIntToStr(const TArgList& args, TCallContext&) {
  return Text(NormArg(args[0]));
}

TFuncValue FnStrToInt(const TArgList& args, TCallContext&) {
  return Number(ArgToInt(args[0]));
}

TFuncValue ExchangeLongChar(const TArgList& args, TCallContext&) {
  return Text(ExchangeText(NormArg(args[0]), ArgToInt(args[1]), ArgToInt(args[2]), NormArg(args[3]),
                           NormArg(args[4])));
}

// ---- Procedures ----------------------------------------------------------------
// Results are computed from views of the arguments before any entry is
// replaced; replacing an entry leaves the texts of the others where they are.

void PosMatchLongChar(TArgList& args, TCallContext&) {
  const TMatchSpan span = WildFind(NormArg(args[0]), NormArg(args[1]), ArgToInt(args[2]));
  args.Set(3, IntToText(span.start));
  args.Set(4, IntToText(span.end));
}

void PosMaybeLongCharA(TArgList& args, TCallContext&) {
  const TListHit hit = FindAnyTextAt(NormArg(args[0]), ArgToInt(args[1]), ArgToTextList(args[2]));
  args.Set(3, IntToText(hit.index));
  args.Set(4, IntToText(hit.position));
}

void PosLongCharIgnSepLongChar(TArgList& args, TCallContext&) {
  const TMatchSpan span = FindTextSkipping(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2]),
                                           ArgToTextList(args[3]));
  args.Set(4, IntToText(span.start));
  args.Set(5, IntToText(span.end));
}

void Inc(TArgList& args, TCallContext&) {
  StepBody(args, true);
}
void Dec(TArgList& args, TCallContext&) {
  StepBody(args, false);
}

void CopyQsIgnA(TArgList& args, TCallContext&) {
  const TSkippingCopy copy =
      CopyBetweenSkipping(NormArg(args[0]), ArgToInt(args[1]), NormArg(args[2]), NormArg(args[3]),
                          ArgToTextList(args[4]));
  WStr result(copy.result);
  args.Set(5, IntToText(copy.first));
  args.Set(6, IntToText(copy.last));
  args.Set(7, std::move(result));
}

}  // namespace kovra::builtins
