#include "interpreter/UnitParsersProcess.h"

#include <algorithm>

#include "interpreter/UnitIdHttp.h"
#include "interpreter/UnitSuperCopy.h"
#include "platform/Prompt.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

using WView = std::u16string_view;

constexpr WView kStopMessage = u"脚本已被中止";
constexpr WView kTooDeepMessage = u"语句嵌套层数超过上限：";

// The fixed, read-only table of the predefined string variables.
struct TPredefined {
  WView name;
  WView value;
};
constexpr WView kChrZero(u"\0", 1);
constexpr TPredefined kPredefined[] = {
    {u"result", u""}, {u"url", u""},     {u"tab", u"\t"},      {u"setstr", u"'"},
    {u"return", u"\n"}, {u"enter", u"\r"}, {u"chrzero", kChrZero},
};
constexpr int32_t kUrlIndex = 1;

bool IsBlankOrNul(char16_t c) {
  return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t' || c == u'\0';
}

// Characters that end the first word of a statement. ';' is not one of them:
// in "x;" the word is "x;".
bool EndsWord(char16_t c) {
  return c == u' ' || c == u':' || c == u'(' || c == u'\t' || c == u'[' || c == u'\r' || c == u'\n';
}

// Equal when `text` lower-cased (A-Z only) is `lower`.
bool EqualsFolded(WView text, WView lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (LowerAsciiChar(text[i]) != lower[i]) return false;
  }
  return true;
}

// 1-based character access; NUL outside the text.
char16_t At(WView text, int32_t pos) {
  return (pos >= 1 && static_cast<size_t>(pos) <= text.size()) ? text[pos - 1] : u'\0';
}

int32_t SkipBlanksFrom(WView text, int32_t pos) {
  const int32_t n = static_cast<int32_t>(text.size());
  while (pos <= n && IsBlankOrNul(text[pos - 1])) ++pos;
  return pos;
}

// Text list of the blanks ":=" may contain in a for header.
const TTextList& ForHeaderBlanks() {
  static const TTextList list{u" ", u"\t", u"\n", u"\r"};
  return list;
}

int32_t IndexOfName(const std::vector<std::u16string>& names, WView key) {
  key = TrimBlanks(key);
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualsFolded(key, names[i])) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace

TParsers::TParsers(std::span<const std::u16string> int_names,
                   std::span<const std::u16string> str_names, std::u16string_view url,
                   const TRunEnvironment& env)
    : env_(env) {
  for (const std::u16string& name : int_names) {
    if (name.empty()) break;
    FIntNames.push_back(name);
  }
  FIntValues.assign(FIntNames.size(), 0);
  for (const TPredefined& p : kPredefined) {
    FStrNames.emplace_back(p.name);
    FStrValues.emplace_back(p.value);
  }
  for (const std::u16string& name : str_names) {
    if (name.empty()) break;
    FStrNames.push_back(name);
    FStrValues.emplace_back();
  }
  FStrValues[kUrlIndex] = std::u16string(url);
  call_context_.prompt = env_.prompt != nullptr ? env_.prompt : &TNoPrompt::Instance();
}

TParsers::~TParsers() = default;

void TParsers::SetResultText(std::u16string text) { FStrValues[0] = std::move(text); }

std::u16string TParsers::Run(std::u16string_view body) {
  ExecuteBlock(body);
  return FErrorText.empty() ? FStrValues[0] : FErrorText;
}

int32_t TParsers::FindIntVar(std::u16string_view key) const { return IndexOfName(FIntNames, key); }
int32_t TParsers::FindStrVar(std::u16string_view key) const { return IndexOfName(FStrNames, key); }

void TParsers::SetError(std::u16string_view message) {
  FErrorText.assign(message);
  FErrorText += u"\r\n语句开始位置：";
  AppendInt(FErrorText, FErrorPos);
}

// Stops between statements when the front end asks, or when the step budget
// is spent. A stopped run unwinds completely: every statement sequence and
// loop ends at its next step.
bool TParsers::StopRequested(int32_t position) {
  if (stopped_) return true;
  ++steps_;
  const bool budget_spent = env_.statement_budget != 0 && steps_ > env_.statement_budget;
  if (budget_spent || (env_.stop != nullptr && env_.stop->load(std::memory_order_relaxed)) ||
      (env_.stop_probe != nullptr && env_.stop_probe() != 0)) {
    stopped_ = true;
    FErrorPos = position;
    SetError(kStopMessage);
    return true;
  }
  return false;
}

bool TParsers::TakeContinue() {
  if (FLoopStack.empty() || FLoopStack.back() != TLoopState::continue_) return false;
  FLoopStack.back() = TLoopState::inside;
  return true;
}

void TParsers::ControlError(int32_t& position, std::u16string message) {
  FErrorPos = position;
  SetError(message);
  position = -1;
}

bool TParsers::ExecuteBlock(std::u16string_view text) {
  WView stable;
  TParsedBlock& block = BlockNode(text, stable);
  return ExecuteBlockIn(block, stable);
}

// Runs a statement sequence whose parse is kept in `block`; `text` is the
// block's own copy of the sequence.
bool TParsers::ExecuteBlockIn(TParsedBlock& block, std::u16string_view stable) {
  // "continue" or "break" as the whole of a then-, else- or loop part.
  if (stable.size() <= 8 && LoopRunning()) {
    if (EqualsFolded(stable, u"continue")) {
      FLoopStack.back() = TLoopState::continue_;
      return true;
    }
    if (EqualsFolded(stable, u"break")) {
      FLoopStack.back() = TLoopState::break_;
      return true;
    }
  }
  int32_t position = 1;
  TStatement fresh;
  for (size_t k = 0;; ++k) {
    // A pending continue or break skips the rest of the sequence.
    if (LoopRunning() && FLoopStack.back() != TLoopState::inside) return true;
    statement_pos_ = SkipBlanksFrom(stable, std::max(position, 1));
    if (StopRequested(statement_pos_)) return false;

    const TStatement* st = nullptr;
    if (k < block.statements.size()) {
      const TCachedStatement& cached = *block.statements[k];
      st = &cached.st;
      position = cached.next_position;
      if (st->kind == TStatementKind::control) FErrorPos = 0;  // what matching it again would do
    } else if (block.ended) {
      break;
    } else {
      ParseStatement(stable, position, fresh);
      // A rejected statement, or one without a right-hand side, ends the
      // sequence; only statements that parsed without an error are kept.
      const bool ends =
          fresh.word.empty() || fresh.invalid || fresh.too_deep ||
          (fresh.part1.empty() && (fresh.kind == TStatementKind::assignment ||
                                   fresh.kind == TStatementKind::control));
      const bool failed = fresh.invalid || fresh.too_deep || (ends && position == -1 && !fresh.word.empty());
      if (ends) {
        if (!failed) block.ended = true;
        break;
      }
      fresh.part1 = TrimSpaces(fresh.part1);
      fresh.part2 = TrimSpaces(fresh.part2);
      fresh.part3 = TrimSpaces(fresh.part3);
      auto cached = std::make_unique<TCachedStatement>();
      cached->next_position = position;
      cached->st = std::move(fresh);
      if (!cached->st.storage.empty()) cached->st.part1 = TrimSpaces(cached->st.storage);
      st = &cached->st;
      block.statements.push_back(std::move(cached));
      fresh = TStatement();
    }
    ExecuteStatement(*st, position);
    if (stopped_) return false;
    if (position <= 1) break;
  }
  if (TakeContinue() || IsBreak()) return true;
  return FErrorPos == 0;
}

void TParsers::ExecuteStatement(const TStatement& st, int32_t& position) {
  switch (st.kind) {
    case TStatementKind::assignment:
      if (st.target_int >= 0) {
        if (st.plan == nullptr) st.plan = &IntPlan(st.part1);
        FIntValues[st.target_int] = RunIntPlan(*static_cast<const TIntPlan*>(st.plan));
      } else if (st.target_str >= 0) {
        if (st.plan == nullptr) st.plan = &StringPlan(st.part1);
        AssignString(st.target_str, *static_cast<const TStringPlan*>(st.plan));
      }  // undeclared names are ignored
      break;
    case TStatementKind::function:
      if (st.call.kind == TCall::Kind::kNothing) st.call = {TCall::Kind::kFunction, st.callee, st.part1};
      RunCall(st.call);  // only side effects count
      break;
    case TStatementKind::procedure:
      CallProcedureStatement(st);
      if (stopped_) position = -1;
      break;
    case TStatementKind::control:
      ExecuteControl(st, position);
      break;
    case TStatementKind::loop_word:
      if (LoopRunning()) {
        FLoopStack.back() =
            st.word.starts_with(u"break") ? TLoopState::break_ : TLoopState::continue_;
      }
      break;
  }
}

TParsers::TParsedBlock& TParsers::BlockNode(std::u16string_view text, std::u16string_view& stable) {
  auto it = blocks_.find(text);
  if (it == blocks_.end()) it = blocks_.try_emplace(std::u16string(text)).first;
  stable = it->first;
  return it->second;
}

// A then-part, else-part or loop body that does not end with ';' runs as if
// it did, so "if a then x := 1 else x := 2;" assigns in both branches.
// which: 0 = part1, 1 = part2, 2 = part3.
bool TParsers::ExecutePart(const TStatement& st, int which) {
  if (st.blocks[which] == nullptr) {
    const WView part = which == 0 ? st.part1 : (which == 1 ? st.part2 : st.part3);
    const WView trimmed = TrimBlanks(part);
    WView text = part;
    std::u16string terminated;
    if (!trimmed.empty() && trimmed.back() != u';') {
      if (EqualsFolded(trimmed, u"continue") || EqualsFolded(trimmed, u"break")) {
        text = trimmed;
      } else {
        terminated.assign(part);
        terminated += u';';
        text = terminated;
      }
    }
    st.blocks[which] = &BlockNode(text, st.block_texts[which]);
  }
  return ExecuteBlockIn(*st.blocks[which], st.block_texts[which]);
}

void TParsers::ParseStatement(std::u16string_view text, int32_t& position, TStatement& st) {
  st.word.clear();
  st.part1 = st.part2 = st.part3 = {};
  st.invalid = false;
  st.too_deep = false;
  st.storage.clear();
  st.condition.clear();
  st.callee = st.target_int = st.target_str = -1;
  const int32_t n = static_cast<int32_t>(text.size());

  // The first word: from the first non-blank up to a character that ends
  // it. A word that would run to the end of the text is no word.
  const int32_t p = SkipBlanksFrom(text, std::max(position, 1));
  int32_t q = p + 1;
  while (q <= n && !EndsWord(text[q - 1])) ++q;
  if (p > n || q > n) {
    position = -1;
    return;
  }
  st.word = NormalizeWord(text.substr(p - 1, q - p));
  position = q;

  const int32_t colon = SkipBlanksFrom(text, q);
  if (At(text, colon) == u':') {
    const int32_t equals = SkipBlanksFrom(text, colon + 1);
    if (At(text, equals) == u'=') {
      st.kind = TStatementKind::assignment;
      position = equals + 1;
      st.part1 = ReadAssignment(text, position, st.storage);
      st.target_int = FindIntVar(st.word);
      if (st.target_int < 0) st.target_str = FindStrVar(st.word);
      return;
    }
  }
  if ((st.callee = FindFunction(st.word)) >= 0) {
    st.kind = TStatementKind::function;
    st.part1 = ReadArguments(text, position);
    return;
  }
  if ((st.callee = FindProcedure(st.word)) >= 0) {
    st.kind = TStatementKind::procedure;
    st.part1 = ReadArguments(text, position);
    return;
  }
  if (st.word == u"if" || st.word == u"repeat" || st.word == u"while" || st.word == u"for") {
    st.kind = TStatementKind::control;
    FErrorPos = position;
    position = p;
    MatchBlock(text, position, st.word, st);
    if (st.too_deep) return;
    if (!st.part1.empty() && !st.part2.empty()) {
      FErrorPos = 0;
      // If and while conditions and for headers are read lower-cased whole,
      // quoted texts included.
      if (st.word != u"repeat") st.condition = LowerAscii(TrimSpaces(st.part1));
    } else {
      SetError(u"未完成的语句嵌套：" + st.word);
      position = -1;
      st.part1 = {};
    }
    return;
  }
  // continue and break are statements of their own; a ';' after them
  // belongs to them.
  if (st.word == u"continue" || st.word == u"break" || st.word == u"continue;" ||
      st.word == u"break;") {
    st.kind = TStatementKind::loop_word;
    if (st.word.back() != u';') {
      const int32_t semi = SkipBlanksFrom(text, position);
      if (At(text, semi) == u';') position = semi + 1;
    }
    return;
  }
  FErrorPos = position;
  SetError(u"无效语句：" + st.word);
  position = -1;
  st.invalid = true;
}

std::u16string_view TParsers::ReadAssignment(std::u16string_view text, int32_t& position,
                                             std::u16string& storage) {
  const int32_t n = static_cast<int32_t>(text.size());
  const int32_t start = position;
  int32_t depth = 0;
  bool in_quote = false;
  bool expecting_operand = true;
  auto fail = [&](int32_t at, WView message) -> WView {
    FErrorPos = at;
    SetError(message);
    position = -1;
    return {};
  };
  for (int32_t i = start; i <= n; ++i) {
    const char16_t c = text[i - 1];
    if (in_quote) {
      if (c == u'\'') {
        if (i < n && text[i] == u'\'') {
          ++i;  // "''" stays inside the quote
        } else {
          in_quote = false;
          expecting_operand = false;
        }
      }
      continue;
    }
    switch (c) {
      case u';': {
        if (depth != 0) {
          return fail(i, u"赋值语句中反括号“)”未能完成匹配，却已找到语句结束符“;”");
        }
        position = i + 1;
        const WView expression = TrimSpaces(text.substr(start - 1, i - start));
        if (expression.find_first_of(u"\r\n") == WView::npos) return expression;
        storage = RemoveLineBreaks(expression);
        return storage;
      }
      case u'\'':
        if (!expecting_operand) return fail(i, u"赋值语句中存在“非法的字符串定义起始。”");
        in_quote = true;
        expecting_operand = false;
        break;
      // Brackets are counted the other way round: ")" opens and "(" closes,
      // so only their balance matters.
      case u')':
        ++depth;
        expecting_operand = false;
        break;
      case u'(':
        --depth;
        expecting_operand = true;
        break;
      case u'+':
      case u',':
        if (expecting_operand) return fail(i, u"赋值语句中“数据分割符出现的位置非法。”");
        expecting_operand = true;
        break;
      case u' ':
      case u'\t':
      case u'\n':
      case u'\r':
        break;
      default:
        expecting_operand = false;
        break;
    }
  }
  return {};  // no ';': no expression, and no error
}

std::u16string_view TParsers::ReadArguments(std::u16string_view text, int32_t& position) {
  const int32_t n = static_cast<int32_t>(text.size());
  if (position < 1 || position > n) return {};
  const char16_t c = text[position - 1];
  if (c == u';') {
    ++position;
    return {};
  }
  if (c != u'(') return {};
  // Parentheses do not nest here: the first ")" outside quotes ends the list.
  bool in_quote = false;
  for (int32_t j = position + 1; j <= n; ++j) {
    const char16_t d = text[j - 1];
    if (d == u'\'') {
      if (in_quote && j < n && text[j] == u'\'') {
        ++j;
      } else {
        in_quote = !in_quote;
      }
      continue;
    }
    if (!in_quote && d == u')') {
      const WView args = text.substr(position, j - position - 1);
      const int32_t after = SkipBlanksFrom(text, j + 1);
      position = At(text, after) == u';' ? after + 1 : j + 1;
      return args;
    }
  }
  return {};
}

void TParsers::MatchBlock(std::u16string_view text, int32_t& position, std::u16string_view word,
                          TStatement& st) {
  const TCopy_ANResult r = SuperCopy(text, position, word, depth_);
  if (r.too_deep) {
    FErrorPos = position;
    std::u16string message(kTooDeepMessage);
    AppendInt(message, kMaxNesting);
    SetError(message);
    position = -1;
    st.too_deep = true;
    return;
  }
  if (r.end <= 0) {
    FErrorPos = position;
    SetError(std::u16string(word) + u"语句的内部嵌套存在语法错误，SuperCopy函数返回空值。");
    position = -1;
    return;
  }
  if (r.count == 2 || r.count == 3) {
    st.part1 = r.parts[0];
    st.part2 = r.parts[1];
    if (r.count == 3) st.part3 = r.parts[2];
  }
  position = r.end + 1;
}

void TParsers::ExecuteControl(const TStatement& st, int32_t& position) {
  if (depth_ + 1 > kMaxNesting) {
    std::u16string message(kTooDeepMessage);
    AppendInt(message, kMaxNesting);
    ControlError(position, std::move(message));
    return;
  }
  struct DepthGuard {
    int32_t& depth;
    explicit DepthGuard(int32_t& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
  } guard(depth_);

  if (st.word == u"if") {
    const std::u16string& condition = st.condition;
    const WView r = StatementCondition(st);
    if (r.empty()) {
      ControlError(position, u"If 语句包含错误的函数判断: " + condition);
    } else if (r == u"true") {
      if (!ExecutePart(st, 1)) position = -1;
    } else if (!st.part3.empty()) {
      if (!ExecutePart(st, 2)) position = -1;
    }
  } else if (st.word == u"repeat") {
    PushLoop();
    WView r;
    do {
      FLoopStack.back() = TLoopState::inside;
      if (!ExecutePart(st, 0)) {
        position = -1;
        break;
      }
      if (TakeContinue()) continue;  // straight to the test, with the previous outcome
      if (IsBreak()) break;
      // The until-condition keeps its letter case.
      r = StatementCondition(st);
      if (r.empty()) {
        ControlError(position, u"Repeat 语句包含错误的函数判断: " + std::u16string(st.part2));
        break;
      }
    } while (r != u"true" && !stopped_);
    PopLoop();
  } else if (st.word == u"while") {
    const std::u16string& condition = st.condition;
    WView r = StatementCondition(st);
    if (r.empty()) {
      ControlError(position, u"While 语句包含错误的函数判断: " + condition);
      return;
    }
    // A failing body ends the loop, not the enclosing sequence.
    PushLoop();
    while (r == u"true" && !stopped_) {
      FLoopStack.back() = TLoopState::inside;
      if (!ExecutePart(st, 1) || IsBreak()) break;
      r = StatementCondition(st);
    }
    PopLoop();
  } else if (st.word == u"for") {
    PushLoop();
    ExecuteFor(st, position);
    PopLoop();
  }
}

// The condition of an if or while (lower-cased) or of a repeat (as written).
std::u16string_view TParsers::StatementCondition(const TStatement& st) {
  if (st.plan == nullptr) st.plan = &ConditionPlan(st.word == u"repeat" ? st.part2 : WView(st.condition));
  return RunCondition(*static_cast<const TConditionPlan*>(st.plan));
}

void TParsers::ExecuteFor(const TStatement& st, int32_t& position) {
  const WView header = st.condition;
  auto fail = [&](WView message) {
    std::u16string text(message);
    text += u": ";
    text += header;
    ControlError(position, std::move(text));
  };
  const TMatchSpan assign = FindTextSkipping(header, 1, u":=", ForHeaderBlanks());
  if (assign.end == 0) return fail(u"For 语句没有进行变量赋值");
  const std::u16string name = RemoveSpaces(CopyRange(header, 1, assign.start - 1));
  if (name.empty()) return fail(u"For 语句的控制变量为空");
  const int32_t var = FindIntVar(name);
  if (var < 0) return fail(u"For 语句的控制变量未进行定义");
  static const TTextList kDirections{u"to", u"downto"};
  const TListHit hit = FindAnyTextAt(header, assign.end + 1, kDirections);
  if (hit.index < 0) return fail(u"For 语句的控制变量未进行 起始赋值");
  const int32_t start = ReadIntegerValue(CopyRange(header, assign.end + 1, hit.position - 1));
  if (start < 0) return fail(u"For 语句控制变量的 起始赋值 无效");
  const bool down = hit.index == 2;
  const int64_t word_end = int64_t{hit.position} + (down ? 6 : 2);
  const WView end_text =
      TrimSpaces(header.substr(std::min<size_t>(header.size(), word_end - 1)));
  if (end_text.empty()) return fail(u"For 语句的控制变量未进行 结尾赋值");
  const int32_t end = ReadIntegerValue(end_text);
  if (end < 0) return fail(u"For 语句控制变量的 结尾赋值 无效");

  // The number of iterations is fixed before the first; the variable keeps
  // the value of the last iteration.
  const int64_t step = down ? -1 : 1;
  const int64_t count = down ? int64_t{start} - end + 1 : int64_t{end} - start + 1;
  int64_t counter = start;
  for (int64_t i = 0; i < count && !stopped_; ++i, counter += step) {
    FLoopStack.back() = TLoopState::inside;
    FIntValues[var] = static_cast<int32_t>(counter);
    if (!ExecutePart(st, 1)) {
      position = -1;
      return;
    }
    if (IsBreak()) return;
  }
}

void TParsers::CallProcedureStatement(const TStatement& st) {
  const int32_t index = st.callee;
  if (index < 0) return;
  if (st.plan == nullptr) st.plan = &ArgPlan(st.part1);
  TPooledArgs pooled(*this);
  TArgList& args = *pooled;
  std::vector<TSubstitution> subs;
  BuildArguments(*static_cast<const TArgPlan*>(st.plan), args, &subs);

  if (index == kIdHttpSlot) {
    if (!FHttp) FHttp = std::make_unique<TIdHttp>(env_.http_factory);
    std::u16string error;
    if (!FHttp->Execute(args, error)) {
      // A failed request ends the whole run.
      FErrorPos = statement_pos_;
      SetError(error);
      stopped_ = true;
      return;
    }
  } else {
    CallProcedure(index, args, call_context_);
  }

  // Write-back, in argument order. An argument still viewing a variable's
  // own value changes nothing unless that variable was written earlier in
  // this write-back, so only then is the old text copied out first.
  std::vector<std::u16string> kept(subs.size());
  std::vector<bool> use_kept(subs.size(), false);
  for (size_t i = 0; i < subs.size(); ++i) {
    if (!subs[i].is_string || args.IsReplaced(subs[i].argument)) continue;
    for (size_t j = 0; j < i; ++j) {
      if (subs[j].is_string && subs[j].variable == subs[i].variable) {
        kept[i].assign(args[subs[i].argument]);
        use_kept[i] = true;
        break;
      }
    }
  }
  for (size_t i = 0; i < subs.size(); ++i) {
    const TSubstitution& s = subs[i];
    if (!s.is_string) {
      FIntValues[s.variable] = ParseInteger(args[s.argument]);
    } else if (use_kept[i]) {
      FStrValues[s.variable] = std::move(kept[i]);
    } else if (args.IsReplaced(s.argument)) {
      FStrValues[s.variable].assign(args[s.argument]);
    }
  }
}

void TParsers::BuildArguments(const TArgPlan& plan, TArgList& args,
                              std::vector<TSubstitution>* subs) {
  for (const TArgPiece& piece : plan) {
    const int32_t argument = static_cast<int32_t>(args.size());
    switch (piece.kind) {
      case TArgPiece::Kind::kString:
        args.Push(FStrValues[piece.variable]);
        if (subs != nullptr) subs->push_back({argument, piece.variable, true});
        break;
      case TArgPiece::Kind::kInteger:
        args.PushOwned(IntToText(FIntValues[piece.variable]));
        if (subs != nullptr) subs->push_back({argument, piece.variable, false});
        break;
      case TArgPiece::Kind::kLiteral:
        args.Push(piece.text);
        break;
    }
  }
}

// The argument text split at commas outside quotes; each piece, trimmed, is
// a string variable, an integer variable (string variables first) or a text
// handed over as written, quotes included.
const TParsers::TArgPlan& TParsers::ArgPlan(std::u16string_view text) {
  if (auto it = arg_plans_.find(text); it != arg_plans_.end()) return it->second;
  auto& [key, plan] = *arg_plans_.try_emplace(std::u16string(text)).first;
  static constexpr WView kComma[] = {u","};
  TSplitResult split;
  if (SplitText(key, kComma, nullptr, u"'", u"'", u"''", split)) {
    for (WView part : split.parts) {
      TArgPiece piece;
      piece.text = TrimSpaces(TrimLineBreaks(part));
      if ((piece.variable = FindStrVar(piece.text)) >= 0) {
        piece.kind = TArgPiece::Kind::kString;
      } else if ((piece.variable = FindIntVar(piece.text)) >= 0) {
        piece.kind = TArgPiece::Kind::kInteger;
      }
      plan.push_back(piece);
    }
  }
  return plan;
}

const TParsers::TArgPlan& TParsers::ArgsOf(const TCall& call) {
  if (call.plan == nullptr) call.plan = &ArgPlan(call.arguments);
  return *static_cast<const TArgPlan*>(call.plan);
}

TParsers::TPooledArgs::TPooledArgs(TParsers& owner) : owner_(owner) {
  if (owner_.arg_pool_.empty()) {
    list_ = std::make_unique<TArgList>();
  } else {
    list_ = std::move(owner_.arg_pool_.back());
    owner_.arg_pool_.pop_back();
  }
}

TParsers::TPooledArgs::~TPooledArgs() {
  list_->Clear();
  owner_.arg_pool_.push_back(std::move(list_));
}

}  // namespace kovra
