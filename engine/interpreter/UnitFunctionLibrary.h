// The wrappers of the built-ins: one per name in the dictionary. A wrapper
// reads its argument texts (NormArg for texts, ArgToInt for numbers, ArgToBool
// for flags, ArgToChar, ArgToCharSet, ArgToTextList), runs the body and hands
// back the value; a procedure writes its results into its argument list.
//
// Wrappers trust the dictionary to have checked the argument count. They read
// the arguments as views and copy only the piece they return.
#pragma once

#include "interpreter/UnitParsersCmdDictionary.h"

namespace kovra::builtins {

// ---- Functions ---------------------------------------------------------------
TFuncValue Msg(const TArgList& args, TCallContext& ctx);
TFuncValue PosCharA(const TArgList& args, TCallContext& ctx);
TFuncValue PosChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosIgnChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosIgnCharA(const TArgList& args, TCallContext& ctx);
TFuncValue PosRIgnChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosForwardChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosForwardLongChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosForwardLongCharA(const TArgList& args, TCallContext& ctx);
TFuncValue PosLongChar(const TArgList& args, TCallContext& ctx);
TFuncValue PosLongCharC(const TArgList& args, TCallContext& ctx);
TFuncValue PosE(const TArgList& args, TCallContext& ctx);
TFuncValue PosA(const TArgList& args, TCallContext& ctx);
TFuncValue CopyC(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQi(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQs(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQsIn(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQsMatch(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQsHtm(const TArgList& args, TCallContext& ctx);
TFuncValue CopyQsHtmIn(const TArgList& args, TCallContext& ctx);
TFuncValue TrimCharA(const TArgList& args, TCallContext& ctx);
TFuncValue TrimSpace(const TArgList& args, TCallContext& ctx);
TFuncValue TrimLrSpace(const TArgList& args, TCallContext& ctx);
TFuncValue TrimEReturn(const TArgList& args, TCallContext& ctx);
TFuncValue TrimLrEReturn(const TArgList& args, TCallContext& ctx);
TFuncValue TrimTab(const TArgList& args, TCallContext& ctx);
TFuncValue TrimLrSpaceEReturn(const TArgList& args, TCallContext& ctx);
TFuncValue TrimWithKovra(const TArgList& args, TCallContext& ctx);
TFuncValue TrimLrBracketsChr(const TArgList& args, TCallContext& ctx);
TFuncValue TrimLeft(const TArgList& args, TCallContext& ctx);
TFuncValue TrimRight(const TArgList& args, TCallContext& ctx);
TFuncValue TrimSub(const TArgList& args, TCallContext& ctx);
TFuncValue TrimMatchSub(const TArgList& args, TCallContext& ctx);
TFuncValue TrimHtm(const TArgList& args, TCallContext& ctx);
TFuncValue IsMatch(const TArgList& args, TCallContext& ctx);
TFuncValue IsPosAt(const TArgList& args, TCallContext& ctx);
TFuncValue IsCharIn(const TArgList& args, TCallContext& ctx);
TFuncValue IsLongCharIn(const TArgList& args, TCallContext& ctx);
TFuncValue FnDeDomain(const TArgList& args, TCallContext& ctx);
TFuncValue FnFullDomain(const TArgList& args, TCallContext& ctx);
TFuncValue FnOneDomain(const TArgList& args, TCallContext& ctx);
TFuncValue FnLowerCase(const TArgList& args, TCallContext& ctx);
TFuncValue FnUpCase(const TArgList& args, TCallContext& ctx);
TFuncValue FnItMatch(const TArgList& args, TCallContext& ctx);
TFuncValue FnIntToStr(const TArgList& args, TCallContext& ctx);
TFuncValue FnStrToInt(const TArgList& args, TCallContext& ctx);
TFuncValue ExchangeLongChar(const TArgList& args, TCallContext& ctx);

// ---- Procedures: results replace the listed argument entries ------------------
// text, pattern, from → start [3], end [4]
void PosMatchLongChar(TArgList& args, TCallContext& ctx);
// text, from, list → index [3], position [4]
void PosMaybeLongCharA(TArgList& args, TCallContext& ctx);
// text, from, sub, ignorable list → start [4], end [5]
void PosLongCharIgnSepLongChar(TArgList& args, TCallContext& ctx);
// the one argument becomes its number plus / minus one (32-bit wrap-around)
void Inc(TArgList& args, TCallContext& ctx);
void Dec(TArgList& args, TCallContext& ctx);
// text, from, mark1, mark2, ignorable list → first [5], last [6], result [7]
void CopyQsIgnA(TArgList& args, TCallContext& ctx);

}  // namespace kovra::builtins
