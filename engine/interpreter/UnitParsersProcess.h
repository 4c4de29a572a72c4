// TParsers: the interpreter object. One object serves one script run: it
// holds the run's variables, the error state, the stack of running loops and
// the idhttp client, and executes the statement language directly on the
// script text (no separate tokenizer or syntax tree).
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interpreter/UnitParsersCmdDictionary.h"
#include "platform/HttpClient.h"

namespace kovra {

class TPrompt;
class TIdHttp;
struct TSplitResult;

// What a front end lends a run.
struct TRunEnvironment {
  TPrompt* prompt = nullptr;                   // null: questions answer "not shown"
  const std::atomic<bool>* stop = nullptr;     // set to stop the run between statements
  uint64_t statement_budget = 0;               // 0: unlimited; else the run stops after that many steps
  THttpClientFactory http_factory = nullptr;   // null: idhttp requests fail
};

// Operand classes of conditions.
enum class TLongWordMode : uint8_t { boolStatement, strStatement, intStatement, errorStatement };

// Operator codes of conditions: > < = >= <= <> and or not.
enum TOperatorCode : int32_t {
  kOpGreater = 0, kOpLess = 1, kOpEqual = 2, kOpGreaterEqual = 3, kOpLessEqual = 4,
  kOpNotEqual = 5, kOpAnd = 6, kOpOr = 7, kOpNot = 8, kOpNone = 11,
};

// Compares two values the way conditions do: "true", "false", or empty when
// either side is empty or the step has no value (and/or of texts that are
// neither numbers nor true/false, "not"). Comparisons order the 8-bit forms
// byte by byte, so numbers compare as texts ("10" < "9").
std::u16string_view CompareTexts(std::u16string_view left, std::u16string_view right,
                                 int32_t code);

class TParsers {
 public:
  // Name lists stop at their first empty entry; names are stored as given
  // (callers lower-case them).
  TParsers(std::span<const std::u16string> int_names, std::span<const std::u16string> str_names,
           std::u16string_view url, const TRunEnvironment& env = {});
  ~TParsers();
  TParsers(const TParsers&) = delete;
  TParsers& operator=(const TParsers&) = delete;

  void SetResultText(std::u16string text);

  // Runs the body; the result is the text of the last error, else "result".
  std::u16string Run(std::u16string_view body);

  // Inspection, for drivers and tests.
  int32_t FindIntVar(std::u16string_view key) const;
  int32_t FindStrVar(std::u16string_view key) const;
  int32_t IntValue(int32_t index) const { return FIntValues[index]; }
  const std::u16string& StrValue(int32_t index) const { return FStrValues[index]; }
  const std::u16string& ErrorText() const { return FErrorText; }

  // The three evaluators scripts can call by name.
  std::u16string EvalString(std::u16string_view text);
  std::u16string EvalInteger(std::u16string_view text);
  std::u16string EvalBool(std::u16string_view text);
  // "true", "false" or empty (the condition cannot be evaluated).
  std::u16string_view EvalCondition(std::u16string_view text);

 private:
  enum class TLoopState : uint8_t { inside, continue_, break_ };
  enum class TStatementKind : uint8_t { assignment = 0, function = 1, procedure = 2, control = 3, loop_word = 4 };

  struct TStatement {
    std::u16string word;  // normalized (lower case)
    TStatementKind kind = TStatementKind::assignment;
    std::u16string_view part1, part2, part3;
    std::u16string storage;  // an expression that had line breaks taken out
    bool invalid = false;    // the word begins no statement
    bool too_deep = false;   // nesting went past kMaxNesting
  };

  // Statements.
  bool ExecuteBlock(std::u16string_view text);
  bool ExecutePart(std::u16string_view part);
  void ParseStatement(std::u16string_view text, int32_t& position, TStatement& st);
  std::u16string_view ReadAssignment(std::u16string_view text, int32_t& position,
                                     std::u16string& storage);
  std::u16string_view ReadArguments(std::u16string_view text, int32_t& position);
  void MatchBlock(std::u16string_view text, int32_t& position, std::u16string_view word, TStatement& st);
  void ExecuteControl(const TStatement& st, int32_t& position);
  void ExecuteFor(std::u16string_view part1, std::u16string_view body, int32_t& position);
  void Assign(std::u16string_view name, std::u16string_view expression);
  void AssignString(int32_t index, std::u16string_view expression);
  void CallProcedureStatement(std::u16string_view name, std::u16string_view arguments);
  void ControlError(int32_t& position, std::u16string message);

  // Expressions and conditions.
  std::u16string CallByName(std::u16string_view name, std::u16string_view arguments);
  std::u16string CallFromText(std::u16string_view text);
  void AppendStringOperand(std::u16string_view piece, std::u16string& out);
  void AppendEvalString(std::u16string_view text, std::u16string& out);
  int32_t IntegerOperand(std::u16string_view piece);
  int32_t ReadIntegerValue(std::u16string_view text);
  std::u16string_view EvalBoolOperand(std::u16string_view piece, std::u16string& scratch);
  TLongWordMode ClassifyOperand(std::u16string_view piece);
  bool IsIntegerOperand(std::u16string_view text);
  bool IsStringOperand(std::u16string_view text);
  bool IsBooleanOperand(std::u16string_view text);
  bool IsFunctionOfKind(std::u16string_view text, TFunctionKind kind) const;
  bool SplitCondition(std::u16string_view text, TSplitResult& out) const;

  // Argument lists of calls: variables substituted; for procedures the
  // substitutions are remembered for the write-back.
  struct TSubstitution {
    int32_t argument;
    int32_t variable;
    bool is_string;
  };
  void BuildArguments(std::u16string_view text, TArgList& args, std::vector<TSubstitution>* subs);

  // Errors and loops.
  void SetError(std::u16string_view message);
  bool StopRequested(int32_t position);
  void PushLoop() { FLoopStack.push_back(TLoopState::inside); }
  void PopLoop() { FLoopStack.pop_back(); }
  bool TakeContinue();
  bool IsBreak() const { return !FLoopStack.empty() && FLoopStack.back() == TLoopState::break_; }
  bool LoopRunning() const { return !FLoopStack.empty(); }

  // Variables. Names are lower case; lookups trim blanks off the key and
  // compare it folded to lower case, so callers need not lower-case first.
  std::vector<std::u16string> FIntNames;
  std::vector<int32_t> FIntValues;
  std::vector<std::u16string> FStrNames;
  std::vector<std::u16string> FStrValues;
  std::u16string FErrorText;
  int32_t FErrorPos = 0;
  std::vector<TLoopState> FLoopStack;

  TRunEnvironment env_;
  TCallContext call_context_;
  std::unique_ptr<TIdHttp> FHttp;  // created at the first idhttp call
  int32_t depth_ = 0;              // nested control statements being executed
  int32_t statement_pos_ = 0;      // where the statement being executed starts
  int32_t eval_depth_ = 0;         // nested evaluations (getstring(getstring(...)))
  uint64_t eval_truncations_ = 0;  // operand tests cut short by the depth bound
  uint64_t steps_ = 0;
  // Operand classes depend only on the text and on the variable names, which
  // never change during a run, so they are worked out once per text.
  std::unordered_map<std::u16string, TLongWordMode> class_cache_;
  bool stopped_ = false;
};

}  // namespace kovra
