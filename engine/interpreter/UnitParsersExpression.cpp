// Expressions and conditions of TParsers: concatenation ("getstring"),
// integer arithmetic without precedence ("getinteger") and chains of
// comparisons and logical operators ("getbool"), evaluated directly on
// their text.
#include <algorithm>

#include "interpreter/UnitParsersProcess.h"
#include "interpreter/UnitSuperCopy.h"
#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

using WView = std::u16string_view;

constexpr WView kTrue = u"true";
constexpr WView kFalse = u"false";

constexpr WView kPlus[] = {u"+"};
constexpr WView kArithmetic[] = {u"+", u"-", u"*", u"/"};
// Tried in this order at each position: "and" and "or" come first, so
// "and not" and "or not" are never found as such.
constexpr WView kConditionOperators[] = {u"and", u"or", u"not", u"and not", u"or not", u"<=",
                                         u"<>",  u">=", u">",   u"=",       u"<"};
const TBrackets kParens{u"(", u")"};

// Nested evaluations (getstring(getstring(...)), operand tests) give up
// beyond this depth instead of exhausting the stack.
constexpr int32_t kMaxEvalDepth = kMaxNesting;

struct TEvalDepthGuard {
  int32_t& depth;
  explicit TEvalDepthGuard(int32_t& d) : depth(d) { ++depth; }
  ~TEvalDepthGuard() { --depth; }
  bool TooDeep() const { return depth > kMaxEvalDepth; }
};

int32_t OperatorCode(WView op) {
  static constexpr struct {
    WView text;
    int32_t code;
  } kCodes[] = {{u">", kOpGreater},       {u"<", kOpLess},         {u"=", kOpEqual},
                {u">=", kOpGreaterEqual}, {u"<=", kOpLessEqual},   {u"<>", kOpNotEqual},
                {u"and", kOpAnd},         {u"or", kOpOr},          {u"not", kOpNot}};
  for (const auto& c : kCodes) {
    if (c.text == op) return c.code;
  }
  return kOpNone;
}

bool IsComparison(WView op) {
  const int32_t code = OperatorCode(op);
  return code >= kOpGreater && code <= kOpNotEqual;
}

// The integer reading of a logical operand: a decimal number, or true /
// false in any letter case.
bool LogicalValue(WView text, int32_t& value) {
  if (IsIntegerText(text)) {
    value = ParseInteger(text);
    return true;
  }
  if (text.size() == 4 || text.size() == 5) {
    const std::u16string lower = LowerAscii(text);
    if (lower == kTrue) return value = 1, true;
    if (lower == kFalse) return value = 0, true;
  }
  return false;
}

// Byte order of the 8-bit forms. Below U+0080 it is the order of the code
// units, so only the rest after the first difference is converted.
int CompareNarrow(WView a, WView b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < common && a[i] == b[i]) ++i;
  if (i == common) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  if (a[i] < 0x80 && b[i] < 0x80) return a[i] < b[i] ? -1 : 1;
  const std::string na = ToNarrow(a.substr(i));
  const std::string nb = ToNarrow(b.substr(i));
  const int c = std::string_view(na).compare(nb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
int32_t WrapMul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

}  // namespace

std::u16string_view CompareTexts(std::u16string_view left, std::u16string_view right,
                                 int32_t code) {
  if (left.empty() || right.empty()) return {};
  if (code >= kOpGreater && code <= kOpNotEqual) {
    const int c = CompareNarrow(left, right);
    bool r = false;
    switch (code) {
      case kOpGreater: r = c > 0; break;
      case kOpLess: r = c < 0; break;
      case kOpEqual: r = c == 0; break;
      case kOpGreaterEqual: r = c >= 0; break;
      case kOpLessEqual: r = c <= 0; break;
      default: r = c != 0; break;
    }
    return r ? kTrue : kFalse;
  }
  if (code == kOpAnd || code == kOpOr) {
    int32_t a = 0;
    int32_t b = 0;
    if (!LogicalValue(left, a) || !LogicalValue(right, b)) return {};
    const int32_t v = code == kOpAnd ? (a & b) : (a | b);
    return v != 0 ? kTrue : kFalse;
  }
  return {};
}

// ---- Calls -------------------------------------------------------------------

// "name(arguments)" or a bare name. Nested evaluation works only through the
// three evaluator names, e.g. "getinteger(i + 1)"; those match only exactly,
// in lower case, while built-in names are matched after lower-casing.
TParsers::TCall TParsers::ResolveCall(std::u16string_view text) const {
  TCall call;
  const size_t open = text.find(u'(');
  const WView name = open == WView::npos ? text : text.substr(0, open);
  call.arguments = open == WView::npos ? WView() : TrimSpaces(StripParens(text.substr(open)));
  if (name == u"getbool") {
    call.kind = TCall::Kind::kGetBool;
  } else if (name == u"getstring") {
    call.kind = TCall::Kind::kGetString;
  } else if (name == u"getinteger") {
    call.kind = TCall::Kind::kGetInteger;
  } else if ((call.function = FindFunction(LowerAscii(name))) >= 0) {
    call.kind = TCall::Kind::kFunction;
  }
  return call;
}

std::u16string TParsers::RunCall(const TCall& call) {
  switch (call.kind) {
    case TCall::Kind::kGetBool:
      return EvalBool(call.arguments);
    case TCall::Kind::kGetString: {
      if (call.plan == nullptr) call.plan = &StringPlan(call.arguments);
      std::u16string out;
      AppendPlan(*static_cast<const TStringPlan*>(call.plan), 0, out);
      return out;
    }
    case TCall::Kind::kGetInteger:
      return IntToText(RunCallInt(call));
    case TCall::Kind::kFunction: {
      TPooledArgs args(*this);
      BuildArguments(ArgsOf(call), *args, nullptr);
      return CallFunction(call.function, *args, call_context_);
    }
    case TCall::Kind::kNothing:
      break;
  }
  return {};
}

// A call's result read as an integer: it counts when it is an integer text,
// else it is 0 (so boolean results count 0).
int32_t TParsers::RunCallInt(const TCall& call) {
  if (call.kind == TCall::Kind::kGetInteger) {
    if (call.plan == nullptr) call.plan = &IntPlan(call.arguments);
    return RunIntPlan(*static_cast<const TIntPlan*>(call.plan));
  }
  if (call.kind == TCall::Kind::kGetBool || call.kind == TCall::Kind::kNothing) return 0;
  if (call.kind == TCall::Kind::kFunction) {
    const TFunctionKind kind = FunctionTable()[call.function].kind;
    if (kind == TFunctionKind::kBoolean) return 0;
    if (kind == TFunctionKind::kInteger) {
      TPooledArgs args(*this);
      BuildArguments(ArgsOf(call), *args, nullptr);
      return CallFunctionValue(call.function, *args, call_context_).number;
    }
  }
  const std::u16string r = RunCall(call);
  return IsIntegerText(r) ? ParseInteger(r) : 0;
}

// ---- Strings -----------------------------------------------------------------

std::u16string TParsers::EvalString(std::u16string_view text) {
  std::u16string out;
  AppendPlan(StringPlan(text), 0, out);
  return out;
}

// The text split at "+" outside quotes and parentheses. Each piece, trimmed,
// is a quoted text (taken literally: a doubled apostrophe stays doubled), a
// string variable, or a call; an unknown name, an integer variable or a
// number gives nothing.
const TParsers::TStringPlan& TParsers::StringPlan(std::u16string_view text) {
  if (auto it = string_plans_.find(text); it != string_plans_.end()) return it->second;
  auto& [key, plan] = *string_plans_.try_emplace(std::u16string(text)).first;
  TSplitResult split;
  if (SplitText(key, kPlus, &kParens, u"'", u"'", u"'", split)) {
    for (WView piece : split.parts) {
      const WView t = TrimSpaces(piece);
      if (t.empty()) continue;
      TStringOperand op;
      if (t.front() == u'\'' && t.back() == u'\'') {
        op.kind = TStringOperand::Kind::kLiteral;
        op.literal = t.size() >= 2 ? t.substr(1, t.size() - 2) : WView();
      } else if ((op.variable = FindStrVar(t)) >= 0) {
        op.kind = TStringOperand::Kind::kVariable;
      } else {
        op.kind = TStringOperand::Kind::kCall;
        op.call = ResolveCall(t);
      }
      plan.operands.push_back(op);
    }
  }
  return plan;
}

void TParsers::AppendPlan(const TStringPlan& plan, size_t first, std::u16string& out) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return;
  for (size_t i = first; i < plan.operands.size(); ++i) {
    const TStringOperand& op = plan.operands[i];
    switch (op.kind) {
      case TStringOperand::Kind::kLiteral:
        out.append(op.literal);
        break;
      case TStringOperand::Kind::kVariable:
        out.append(FStrValues[op.variable]);
        break;
      case TStringOperand::Kind::kCall:
        out.append(RunCall(op.call));
        break;
    }
  }
}

// Appending to a variable ("out := out + x;") extends it in place instead of
// rebuilding it, so collecting output over a page stays linear. The rest is
// evaluated first, so it may name the variable itself.
void TParsers::AssignString(int32_t index, const TStringPlan& plan) {
  if (!plan.operands.empty() && plan.operands[0].kind == TStringOperand::Kind::kVariable &&
      plan.operands[0].variable == index) {
    std::u16string tail;
    AppendPlan(plan, 1, tail);
    FStrValues[index] += tail;
    return;
  }
  std::u16string value;
  AppendPlan(plan, 0, value);
  FStrValues[index] = std::move(value);
}

// ---- Integers ----------------------------------------------------------------

std::u16string TParsers::EvalInteger(std::u16string_view text) {
  return IntToText(ReadIntegerValue(text));
}

// The text split at + - * / outside quotes and parentheses. Each piece,
// trimmed and stripped of one pair of parentheses, is a number, an integer
// variable, or a call. A parenthesized sub-expression is not evaluated:
// "(2+3)" reads as the unknown name "2+3" and counts 0.
const TParsers::TIntPlan& TParsers::IntPlan(std::u16string_view text) {
  if (auto it = int_plans_.find(text); it != int_plans_.end()) return it->second;
  auto& [key, plan] = *int_plans_.try_emplace(std::u16string(text)).first;
  TSplitResult split;
  if (SplitText(TrimSpaces(key), kArithmetic, &kParens, u"'", u"'", u"'", split)) {
    for (size_t i = 0; i < split.parts.size(); ++i) {
      const WView t = StripParens(TrimSpaces(split.parts[i]));
      TIntOperand op;
      if (IsIntegerText(t)) {
        op.kind = TIntOperand::Kind::kNumber;
        op.number = ParseInteger(t);
      } else if ((op.number = FindIntVar(t)) >= 0) {
        op.kind = TIntOperand::Kind::kVariable;
      } else {
        op.kind = TIntOperand::Kind::kCall;
        op.call = ResolveCall(t);
      }
      plan.operands.push_back(op);
      if (i > 0) {
        const WView sep = split.separators[i - 1];
        plan.operators.push_back(sep.empty() ? u'+' : sep[0]);
      }
    }
  }
  return plan;
}

// No operator precedence: the pieces are combined left to right, an empty
// piece counts 0 ("3 * -2" is 3 * 0 - 2), division by 0 leaves the value,
// and all arithmetic wraps around in 32 bits.
int32_t TParsers::ReadIntegerValue(std::u16string_view text) {
  return RunIntPlan(IntPlan(text));
}

int32_t TParsers::RunIntPlan(const TIntPlan& plan) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep() || plan.operands.empty()) return 0;
  auto operand = [&](const TIntOperand& op) -> int32_t {
    switch (op.kind) {
      case TIntOperand::Kind::kNumber:
        return op.number;
      case TIntOperand::Kind::kVariable:
        return FIntValues[op.number];
      case TIntOperand::Kind::kCall:
        return RunCallInt(op.call);
    }
    return 0;
  };
  int32_t v = operand(plan.operands[0]);
  for (size_t i = 1; i < plan.operands.size(); ++i) {
    const int32_t w = operand(plan.operands[i]);
    switch (plan.operators[i - 1]) {
      case u'+': v = WrapAdd(v, w); break;
      case u'-': v = WrapSub(v, w); break;
      case u'*': v = WrapMul(v, w); break;
      default:
        if (v != 0 && w != 0) v = (w == -1) ? WrapSub(0, v) : v / w;
        break;
    }
  }
  return v;
}

// ---- Conditions --------------------------------------------------------------

std::u16string TParsers::EvalBool(std::u16string_view text) {
  const WView r = EvalCondition(StripParens(TrimSpaces(text)));
  return std::u16string(r.empty() ? kFalse : r);
}

bool TParsers::SplitCondition(std::u16string_view text, TSplitResult& out) const {
  return SplitText(text, kConditionOperators, &kParens, u"'", u"'", u"'", out);
}

// A condition is a chain of operands joined by operators; all operands must
// be of one class (integer, string or boolean), and one operand alone counts
// only when it is a boolean.
const TParsers::TConditionPlan& TParsers::ConditionPlan(std::u16string_view text) {
  if (auto it = condition_plans_.find(text); it != condition_plans_.end()) return it->second;
  auto& [key, plan] = *condition_plans_.try_emplace(std::u16string(text)).first;
  const std::u16string word = NormalizeWord(key);
  if (word == kTrue || word == kFalse) {
    plan.kind = word == kTrue ? TConditionPlan::Kind::kTrue : TConditionPlan::Kind::kFalse;
    return plan;
  }
  TSplitResult split;
  // A chain that ends in an operator has nothing to compare with.
  if (word.empty() || !SplitCondition(key, split) || !split.separators.back().empty()) return plan;
  const size_t n = split.parts.size();
  const TLongWordMode mode = ClassifyOperand(split.parts[0]);
  for (size_t i = 1; i < n; ++i) {
    if (ClassifyOperand(split.parts[i]) != mode) return plan;
  }
  if (mode == TLongWordMode::errorStatement) return plan;
  if (n == 1 && mode != TLongWordMode::boolStatement) return plan;
  plan.mode = mode;
  for (size_t i = 0; i < n; ++i) {
    switch (mode) {
      case TLongWordMode::strStatement:
        plan.strings.push_back(&StringPlan(split.parts[i]));
        break;
      case TLongWordMode::intStatement:
        plan.integers.push_back(&IntPlan(split.parts[i]));
        break;
      default:
        plan.bools.push_back(ResolveBoolOperand(split.parts[i]));
        break;
    }
    if (i + 1 < n) plan.codes.push_back(OperatorCode(split.separators[i]));
  }
  plan.kind = n == 1 ? TConditionPlan::Kind::kSingle : TConditionPlan::Kind::kChain;
  return plan;
}

std::u16string_view TParsers::EvalCondition(std::u16string_view text) {
  return RunCondition(ConditionPlan(text));
}

std::u16string_view TParsers::RunCondition(const TConditionPlan& plan) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return {};
  switch (plan.kind) {
    case TConditionPlan::Kind::kNoValue:
      return {};
    case TConditionPlan::Kind::kTrue:
      return kTrue;
    case TConditionPlan::Kind::kFalse:
      return kFalse;
    case TConditionPlan::Kind::kSingle:
      return RunBoolOperand(plan.bools[0]);
    case TConditionPlan::Kind::kChain:
      break;
  }
  std::u16string scratch[2];
  auto evaluate = [&](size_t i, std::u16string& store) -> WView {
    switch (plan.mode) {
      case TLongWordMode::strStatement:
        store.clear();
        AppendPlan(*plan.strings[i], 0, store);
        return store;
      case TLongWordMode::intStatement:
        store = IntToText(RunIntPlan(*plan.integers[i]));
        return store;
      default:
        return RunBoolOperand(plan.bools[i]);
    }
  };
  // Every neighbouring pair is tested and the tests are joined with "and":
  // "x < y < z" holds when x < y and y < z.
  WView cur = evaluate(0, scratch[0]);
  WView result = kTrue;
  for (size_t i = 1; i <= plan.codes.size(); ++i) {
    const WView prev = cur;
    cur = evaluate(i, scratch[i % 2]);
    const WView step = CompareTexts(prev, cur, plan.codes[i - 1]);
    result = CompareTexts(result, step, kOpAnd);
    if (result == kFalse) break;
  }
  return result;
}

// A boolean operand: true, false, or a call of a boolean built-in, also in
// parentheses. Anything else has no value; evaluating it as a condition again
// could recurse into the same text forever.
TParsers::TBoolOperand TParsers::ResolveBoolOperand(std::u16string_view piece) const {
  TBoolOperand op;
  WView q = TrimSpaces(piece);
  for (WView stripped = StripParens(q); stripped.size() != q.size(); stripped = StripParens(q)) {
    q = TrimSpaces(stripped);
  }
  const std::u16string word = NormalizeWord(q);
  if (word == kTrue) {
    op.kind = TBoolOperand::Kind::kTrue;
  } else if (word == kFalse) {
    op.kind = TBoolOperand::Kind::kFalse;
  } else if (IsFunctionOfKind(q, TFunctionKind::kBoolean)) {
    op.kind = TBoolOperand::Kind::kCall;
    op.call = ResolveCall(q);
  }
  return op;
}

std::u16string_view TParsers::RunBoolOperand(const TBoolOperand& op) {
  switch (op.kind) {
    case TBoolOperand::Kind::kTrue:
      return kTrue;
    case TBoolOperand::Kind::kFalse:
      return kFalse;
    case TBoolOperand::Kind::kCall: {
      const std::u16string r = RunCall(op.call);  // "True" or "False"
      if (r == u"True") return kTrue;
      if (r == u"False") return kFalse;
      return {};
    }
    case TBoolOperand::Kind::kNoValue:
      break;
  }
  return {};
}

TLongWordMode TParsers::ClassifyOperand(std::u16string_view piece) {
  const std::u16string w = NormalizeWord(piece);
  if (auto it = classes_.find(w); it != classes_.end()) return it->second;
  TLongWordMode mode = TLongWordMode::errorStatement;
  if (IsIntegerOperand(w)) {
    mode = TLongWordMode::intStatement;
  } else if (IsStringOperand(w)) {
    mode = TLongWordMode::strStatement;
  } else if (IsBooleanOperand(w)) {
    mode = TLongWordMode::boolStatement;
  }
  classes_.emplace(w, mode);
  return mode;
}

bool TParsers::IsIntegerOperand(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return false;
  const WView t = StripParens(text);
  if (IsIntegerText(t) || FindIntVar(t) >= 0) return true;
  TSplitResult split;
  if (!SplitText(t, kArithmetic, &kParens, {}, {}, {}, split)) return false;
  const WView p = split.parts[0];
  return IsIntegerText(p) || FindIntVar(p) >= 0 || IsFunctionOfKind(p, TFunctionKind::kInteger) ||
         (split.parts.size() >= 2 && IsIntegerOperand(StripParens(p)));
}

bool TParsers::IsStringOperand(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return false;
  const WView t = StripParens(text);
  if (IsQuotedLiteral(t) || FindStrVar(t) >= 0) return true;
  TSplitResult split;
  if (!SplitText(t, kPlus, &kParens, {}, {}, {}, split)) return false;
  const bool several = split.parts.size() >= 2;
  for (WView p : split.parts) {
    if (IsQuotedLiteral(p) || FindStrVar(p) >= 0 || IsFunctionOfKind(p, TFunctionKind::kString) ||
        (several && IsStringOperand(p))) {
      continue;
    }
    return false;
  }
  return true;
}

bool TParsers::IsBooleanOperand(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return false;
  TSplitResult split;
  if (!SplitCondition(text, split)) return false;
  const size_t n = split.parts.size();
  for (size_t i = 0; i < n; ++i) {
    const WView q = StripParens(TrimSpaces(split.parts[i]));
    if (IsComparison(split.separators[i])) {
      if (i + 1 >= n) return false;
      const WView next = split.parts[i + 1];
      if (!((IsIntegerOperand(q) && IsIntegerOperand(next)) ||
            (IsStringOperand(q) && IsStringOperand(next)))) {
        return false;
      }
      continue;
    }
    if (q == kTrue || q == kFalse || IsFunctionOfKind(q, TFunctionKind::kBoolean)) continue;
    if (q.size() != text.size() && IsBooleanOperand(q)) continue;
    return false;
  }
  return true;
}

// Only the name before the first "(" is looked at: "copyc(x,1,2) + 'a'"
// counts as a call of a string function.
bool TParsers::IsFunctionOfKind(std::u16string_view text, TFunctionKind kind) const {
  const std::u16string w = NormalizeWord(text);
  const WView name = WView(w).substr(0, WView(w).find(u'('));
  const int32_t index = FindFunction(name);
  return index >= 0 && FunctionTable()[index].kind == kind;
}

}  // namespace kovra
