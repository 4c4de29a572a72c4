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

std::u16string TParsers::CallByName(std::u16string_view name, std::u16string_view arguments) {
  if (name == u"getbool") return EvalBool(arguments);
  if (name == u"getstring") return EvalString(arguments);
  if (name == u"getinteger") return EvalInteger(arguments);
  const int32_t index = FindFunction(LowerAscii(name));
  if (index < 0) return {};
  TArgList args;
  BuildArguments(arguments, args, nullptr);
  return CallFunction(index, args, call_context_);
}

// "name(arguments)" or a bare name. Nested evaluation works only through the
// three evaluator names, e.g. "getinteger(i + 1)".
std::u16string TParsers::CallFromText(std::u16string_view text) {
  const size_t open = text.find(u'(');
  if (open == WView::npos) return CallByName(text, {});
  return CallByName(text.substr(0, open), TrimSpaces(StripParens(text.substr(open))));
}

std::u16string TParsers::EvalString(std::u16string_view text) {
  std::u16string out;
  AppendEvalString(text, out);
  return out;
}

void TParsers::AppendEvalString(std::u16string_view text, std::u16string& out) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return;
  TSplitResult split;
  if (!SplitText(text, kPlus, &kParens, u"'", u"'", u"'", split)) return;
  for (WView piece : split.parts) AppendStringOperand(piece, out);
}

void TParsers::AppendStringOperand(std::u16string_view piece, std::u16string& out) {
  const WView t = TrimSpaces(piece);
  if (t.empty()) return;
  // A quoted text is taken literally: a doubled apostrophe stays doubled.
  if (t.front() == u'\'' && t.back() == u'\'') {
    if (t.size() >= 2) out.append(t.substr(1, t.size() - 2));
    return;
  }
  if (const int32_t s = FindStrVar(t); s >= 0) {
    out.append(FStrValues[s]);
    return;
  }
  out.append(CallFromText(t));
}

// Appending to a variable ("out := out + x;") extends it in place instead of
// rebuilding it, so collecting output over a page stays linear.
void TParsers::AssignString(int32_t index, std::u16string_view expression) {
  TSplitResult split;
  if (SplitText(expression, kPlus, &kParens, u"'", u"'", u"'", split) && split.parts.size() >= 2) {
    const WView first = TrimSpaces(split.parts.front());
    const bool quoted = !first.empty() && first.front() == u'\'' && first.back() == u'\'';
    if (!quoted && FindStrVar(first) == index) {
      std::u16string tail;
      for (size_t i = 1; i < split.parts.size(); ++i) AppendStringOperand(split.parts[i], tail);
      FStrValues[index] += tail;
      return;
    }
  }
  FStrValues[index] = EvalString(expression);
}

std::u16string TParsers::EvalInteger(std::u16string_view text) {
  return IntToText(ReadIntegerValue(text));
}

// No operator precedence: the pieces are combined left to right, an empty
// piece counts 0 ("3 * -2" is 3 * 0 - 2), division by 0 leaves the value,
// and all arithmetic wraps around in 32 bits.
int32_t TParsers::ReadIntegerValue(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return 0;
  TSplitResult split;
  if (!SplitText(TrimSpaces(text), kArithmetic, &kParens, u"'", u"'", u"'", split)) return 0;
  int32_t v = IntegerOperand(split.parts[0]);
  for (size_t i = 1; i < split.parts.size(); ++i) {
    const int32_t w = IntegerOperand(split.parts[i]);
    const char16_t op = split.separators[i - 1].empty() ? u'+' : split.separators[i - 1][0];
    switch (op) {
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

int32_t TParsers::IntegerOperand(std::u16string_view piece) {
  const WView t = StripParens(TrimSpaces(piece));
  if (IsIntegerText(t)) return ParseInteger(t);
  if (const int32_t k = FindIntVar(t); k >= 0) return FIntValues[k];
  // A parenthesized sub-expression is not evaluated: "(2+3)" reads as the
  // unknown name "2+3" and counts 0.
  const std::u16string r = CallFromText(t);
  return IsIntegerText(r) ? ParseInteger(r) : 0;
}

std::u16string TParsers::EvalBool(std::u16string_view text) {
  const WView r = EvalCondition(StripParens(TrimSpaces(text)));
  return std::u16string(r.empty() ? kFalse : r);
}

bool TParsers::SplitCondition(std::u16string_view text, TSplitResult& out) const {
  return SplitText(text, kConditionOperators, &kParens, u"'", u"'", u"'", out);
}

std::u16string_view TParsers::EvalCondition(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return {};
  const std::u16string word = NormalizeWord(text);
  if (word.empty()) return {};
  if (word == kTrue) return kTrue;
  if (word == kFalse) return kFalse;

  TSplitResult split;
  if (!SplitCondition(text, split)) return {};
  const size_t n = split.parts.size();
  // A chain that ends in an operator has nothing to compare with.
  if (!split.separators.back().empty()) return {};

  const TLongWordMode mode = ClassifyOperand(split.parts[0]);
  for (size_t i = 1; i < n; ++i) {
    if (ClassifyOperand(split.parts[i]) != mode) return {};
  }
  if (mode == TLongWordMode::errorStatement) return {};

  std::u16string scratch_a;
  std::u16string scratch_b;
  auto evaluate = [&](WView piece, std::u16string& scratch) -> WView {
    switch (mode) {
      case TLongWordMode::strStatement:
        scratch = EvalString(piece);
        return scratch;
      case TLongWordMode::intStatement:
        scratch = IntToText(ReadIntegerValue(piece));
        return scratch;
      default:
        return EvalBoolOperand(piece, scratch);
    }
  };

  // One operand stands for itself only when it is a boolean.
  if (n == 1) return mode == TLongWordMode::boolStatement ? EvalBoolOperand(split.parts[0], scratch_a) : WView();

  // Every neighbouring pair is tested and the tests are joined with "and":
  // "x < y < z" holds when x < y and y < z.
  std::u16string* cur_store = &scratch_a;
  std::u16string* prev_store = &scratch_b;
  WView cur = evaluate(split.parts[0], *cur_store);
  WView result = kTrue;
  for (size_t i = 1; i < n; ++i) {
    std::swap(cur_store, prev_store);
    const WView prev = cur;
    cur = evaluate(split.parts[i], *cur_store);
    const WView step = CompareTexts(prev, cur, OperatorCode(split.separators[i - 1]));
    result = CompareTexts(result, step, kOpAnd);
    if (result == kFalse) break;
  }
  return result;
}

// A boolean operand: true, false, or a call of a boolean built-in, also in
// parentheses. Anything else has no value; evaluating it as a condition again
// could recurse into the same text forever.
std::u16string_view TParsers::EvalBoolOperand(std::u16string_view piece, std::u16string& scratch) {
  WView q = TrimSpaces(piece);
  for (WView stripped = StripParens(q); stripped.size() != q.size(); stripped = StripParens(q)) {
    q = TrimSpaces(stripped);
  }
  const std::u16string word = NormalizeWord(q);
  if (word == kTrue) return kTrue;
  if (word == kFalse) return kFalse;
  if (!IsFunctionOfKind(q, TFunctionKind::kBoolean)) return {};
  scratch = LowerAscii(CallFromText(q));
  if (scratch == kTrue) return kTrue;
  if (scratch == kFalse) return kFalse;
  return {};
}

TLongWordMode TParsers::ClassifyOperand(std::u16string_view piece) {
  const std::u16string w = NormalizeWord(piece);
  if (auto it = class_cache_.find(w); it != class_cache_.end()) return it->second;
  TLongWordMode mode = TLongWordMode::errorStatement;
  const uint64_t truncations = eval_truncations_;
  if (IsIntegerOperand(w)) {
    mode = TLongWordMode::intStatement;
  } else if (IsStringOperand(w)) {
    mode = TLongWordMode::strStatement;
  } else if (IsBooleanOperand(w)) {
    mode = TLongWordMode::boolStatement;
  }
  // A class cut short by the depth bound is not kept: at a shallower depth
  // the same text may classify fully.
  if (truncations == eval_truncations_) class_cache_.emplace(w, mode);
  return mode;
}

bool TParsers::IsIntegerOperand(std::u16string_view text) {
  TEvalDepthGuard guard(eval_depth_);
  if (guard.TooDeep()) return ++eval_truncations_, false;
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
  if (guard.TooDeep()) return ++eval_truncations_, false;
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
  if (guard.TooDeep()) return ++eval_truncations_, false;
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
