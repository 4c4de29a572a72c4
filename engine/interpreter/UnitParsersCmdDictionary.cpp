#include "interpreter/UnitParsersCmdDictionary.h"

#include <array>

#include "interpreter/UnitFunctionLibrary.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {

namespace {

using namespace builtins;

constexpr TFunctionKind kBool = TFunctionKind::kBoolean;
constexpr TFunctionKind kInt = TFunctionKind::kInteger;
constexpr TFunctionKind kText = TFunctionKind::kString;

// Indices are part of the script interface: the interpreter and the editor's
// Run Script menus refer to built-ins by them.
constexpr std::array<TFunctionEntry, kFunctionCount> kFunctions = {{
    {u"msg", kInt, 2, &Msg},
    {u"poschara", kInt, 3, &PosCharA},
    {u"poschar", kInt, 3, &PosChar},
    {u"posignchar", kInt, 2, &PosIgnChar},
    {u"posignchara", kInt, 3, &PosIgnCharA},
    {u"posrignchar", kInt, 2, &PosRIgnChar},
    {u"posforwardchar", kInt, 3, &PosForwardChar},
    {u"posforwardlongchar", kInt, 3, &PosForwardLongChar},
    {u"posforwardlongchara", kInt, 3, &PosForwardLongCharA},
    {u"poslongchar", kInt, 4, &PosLongChar},
    {u"poslongcharc", kInt, 4, &PosLongCharC},
    {u"pose", kInt, 3, &PosE},
    {u"posa", kInt, 3, &PosA},
    {u"copyc", kText, 3, &CopyC},
    {u"copyqi", kText, 3, &CopyQi},
    {u"copyqs", kText, 3, &CopyQs},
    {u"copyqsin", kText, 4, &CopyQsIn},
    {u"copyqs_match", kText, 4, &CopyQsMatch},
    {u"copyqs_htm", kText, 2, &CopyQsHtm},
    {u"copyqs_htmin", kText, 3, &CopyQsHtmIn},
    {u"trimchara", kText, 2, &TrimCharA},
    {u"trimspace", kText, 1, &TrimSpace},
    {u"trimlrspace", kText, 1, &TrimLrSpace},
    {u"trimereturn", kText, 1, &TrimEReturn},
    {u"trimlrereturn", kText, 1, &TrimLrEReturn},
    {u"trimtab", kText, 1, &TrimTab},
    {u"trimlrspaceereturn", kText, 1, &TrimLrSpaceEReturn},
    {u"trimwithkovra", kText, 1, &TrimWithKovra},
    {u"trimlrbracketschr", kText, 3, &TrimLrBracketsChr},
    {u"trimleft", kText, 1, &TrimLeft},
    {u"trimright", kText, 1, &TrimRight},
    {u"trimsub", kText, 3, &TrimSub},
    {u"trimmatchsub", kText, 3, &TrimMatchSub},
    {u"trimhtm", kText, 1, &TrimHtm},
    {u"ismatch", kBool, 2, &IsMatch},
    {u"isposat", kBool, 3, &IsPosAt},
    {u"ischarin", kBool, 2, &IsCharIn},
    {u"islongcharin", kBool, 2, &IsLongCharIn},
    {u"fndedomain", kText, 1, &FnDeDomain},
    {u"fnfulldomain", kText, 1, &FnFullDomain},
    {u"fnonedomain", kBool, 2, &FnOneDomain},
    {u"fnlowercase", kText, 1, &FnLowerCase},
    {u"fnupcase", kText, 1, &FnUpCase},
    {u"fnitmatch", kBool, 2, &FnItMatch},
    {u"fninttostr", kText, 1, &FnIntToStr},
    {u"fnstrtoint", kInt, 1, &FnStrToInt},
    {u"exchangelongchar", kText, 5, &ExchangeLongChar},
}};

// Slots 6-11 and 13-25 are unused; idhttp (slot 5) is run by the interpreter
// itself, which needs at least 3 arguments.
constexpr TProcedureEntry kUnused = {u"", 0, nullptr};
// clang-format off
constexpr std::array<TProcedureEntry, kProcedureSlots> kProcedures = {{
    {u"posmatchlongchar", 5, &PosMatchLongChar},
    {u"posmaybelongchara", 5, &PosMaybeLongCharA},
    {u"poslongchar_ignseplongchar", 6, &PosLongCharIgnSepLongChar},
    {u"inc", 1, &Inc},
    {u"dec", 1, &Dec},
    {u"idhttp", 3, nullptr},
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
    {u"copyqs_igna", 8, &CopyQsIgnA},
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
}};
// clang-format on

// Name lookup: an open-addressing table of indices (-1 = free), built at
// compile time, so a lookup hashes the key once and compares one or two names.
constexpr uint32_t HashName(std::u16string_view name) {
  uint32_t h = 2166136261u;
  for (char16_t c : name) {
    h ^= c;
    h *= 16777619u;
  }
  return h;
}

template <size_t kSlots, size_t kCount, typename Entry>
constexpr std::array<int8_t, kSlots> BuildIndex(const std::array<Entry, kCount>& entries) {
  static_assert((kSlots & (kSlots - 1)) == 0 && kSlots > kCount);
  std::array<int8_t, kSlots> slots{};
  for (auto& s : slots) s = -1;
  for (size_t i = 0; i < kCount; ++i) {
    if (entries[i].name.empty()) continue;
    size_t s = HashName(entries[i].name) & (kSlots - 1);
    while (slots[s] != -1) s = (s + 1) & (kSlots - 1);
    slots[s] = static_cast<int8_t>(i);
  }
  return slots;
}

constexpr auto kFunctionIndex = BuildIndex<128>(kFunctions);
constexpr auto kProcedureIndex = BuildIndex<64>(kProcedures);

template <size_t kSlots, size_t kCount, typename Entry>
int32_t Lookup(const std::array<int8_t, kSlots>& index, const std::array<Entry, kCount>& entries,
               std::u16string_view name) {
  const std::u16string_view key = TrimBlanks(name);
  if (key.empty()) return -1;
  for (size_t s = HashName(key) & (kSlots - 1); index[s] != -1; s = (s + 1) & (kSlots - 1)) {
    if (entries[index[s]].name == key) return index[s];
  }
  return -1;
}

constexpr bool NamesAreUnique() {
  for (size_t i = 0; i < kFunctions.size(); ++i) {
    for (size_t j = i + 1; j < kFunctions.size(); ++j) {
      if (kFunctions[i].name == kFunctions[j].name) return false;
    }
  }
  for (size_t i = 0; i < kProcedures.size(); ++i) {
    for (size_t j = i + 1; j < kProcedures.size(); ++j) {
      if (!kProcedures[i].name.empty() && kProcedures[i].name == kProcedures[j].name) return false;
    }
  }
  return true;
}
static_assert(NamesAreUnique());

}  // namespace

std::span<const TFunctionEntry> FunctionTable() {
  return kFunctions;
}
std::span<const TProcedureEntry> ProcedureTable() {
  return kProcedures;
}

int32_t FindFunction(std::u16string_view name) {
  return Lookup(kFunctionIndex, kFunctions, name);
}

int32_t FindProcedure(std::u16string_view name) {
  return Lookup(kProcedureIndex, kProcedures, name);
}

TFuncValue CallFunctionValue(int32_t index, const TArgList& args, TCallContext& ctx) {
  TFuncValue value;
  if (index < 0 || index >= kFunctionCount) return value;
  const TFunctionEntry& entry = kFunctions[static_cast<size_t>(index)];
  if (args.size() == static_cast<size_t>(entry.arity)) {
    value = entry.handler(args, ctx);
  } else {
    value.number = -1;  // the default of an integer function; false and empty need nothing
  }
  return value;
}

std::u16string CallFunction(int32_t index, const TArgList& args, TCallContext& ctx) {
  if (index < 0 || index >= kFunctionCount) return {};
  TFuncValue value = CallFunctionValue(index, args, ctx);
  switch (kFunctions[static_cast<size_t>(index)].kind) {
    case TFunctionKind::kBoolean:
      return value.flag ? u"True" : u"False";
    case TFunctionKind::kInteger:
      return IntToText(value.number);
    case TFunctionKind::kString:
      return std::move(value.text);
  }
  return {};
}

void CallProcedure(int32_t index, TArgList& args, TCallContext& ctx) {
  if (index < 0 || index >= kProcedureSlots) return;
  const TProcedureEntry& entry = kProcedures[static_cast<size_t>(index)];
  if (entry.handler && args.size() == static_cast<size_t>(entry.arity)) entry.handler(args, ctx);
}

}  // namespace kovra
