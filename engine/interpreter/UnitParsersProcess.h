// TParsers: the interpreter object. One object serves one script run: it
// holds the run's variables, the error state, the stack of running loops and
// the idhttp client, and executes the statement language directly on the
// script text (no separate tokenizer or syntax tree).
#pragma once

#include <array>
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
  int32_t (*stop_probe)() = nullptr;           // answers non-zero to stop the run
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
  int32_t ReadIntegerValue(std::u16string_view text);
  // "true", "false" or empty (the condition cannot be evaluated).
  std::u16string_view EvalCondition(std::u16string_view text);

 private:
  enum class TLoopState : uint8_t { inside, continue_, break_ };
  enum class TStatementKind : uint8_t { assignment = 0, function = 1, procedure = 2, control = 3, loop_word = 4 };

  // "name(arguments)" or a bare name, resolved. `plan` caches what its
  // arguments need: the argument plan of a function, the plan of an
  // evaluator's text.
  struct TCall {
    enum class Kind : uint8_t { kNothing, kGetBool, kGetString, kGetInteger, kFunction };
    Kind kind = Kind::kNothing;
    int32_t function = -1;
    std::u16string_view arguments;
    mutable const void* plan = nullptr;
  };
  struct TParsedBlock;
  struct TStatement {
    std::u16string word;  // normalized (lower case)
    TStatementKind kind = TStatementKind::assignment;
    std::u16string_view part1, part2, part3;
    std::u16string storage;    // an expression that had line breaks taken out
    std::u16string condition;  // if / while condition, for header: part1 lower-cased
    int32_t callee = -1;       // function or procedure index
    int32_t target_int = -1;   // the integer variable an assignment sets
    int32_t target_str = -1;   // the string variable an assignment sets
    bool invalid = false;      // the word begins no statement
    bool too_deep = false;     // nesting went past kMaxNesting
    // Filled at first execution: the plans of the statement's texts and the
    // parsed sequences of its parts (the part as it runs, and its blocks).
    mutable TCall call;
    mutable const void* plan = nullptr;
    mutable std::array<TParsedBlock*, 3> blocks{};
    mutable std::array<std::u16string_view, 3> block_texts{};
  };

  // Everything below is worked out once per distinct text and kept for the
  // run: it depends only on the text, the built-in names and the variable
  // names, none of which change while a run lasts. Views in a plan point
  // into the map's own copy of the text.
  struct TTextHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view s) const noexcept {
      return std::hash<std::u16string_view>{}(s);
    }
  };
  template <class V>
  using TTextMap = std::unordered_map<std::u16string, V, TTextHash, std::equal_to<>>;

  // A statement sequence parsed so far: statement k starts where statement
  // k - 1 ended. Only statements that parsed without an error are kept.
  struct TCachedStatement {
    TStatement st;
    int32_t next_position = 0;
  };
  struct TParsedBlock {
    std::vector<std::unique_ptr<TCachedStatement>> statements;
    bool ended = false;  // after the last kept statement the sequence ends
  };

  struct TStringOperand {
    enum class Kind : uint8_t { kLiteral, kVariable, kCall };
    Kind kind = Kind::kLiteral;
    std::u16string_view literal;
    int32_t variable = -1;
    TCall call;
  };
  struct TStringPlan {
    std::vector<TStringOperand> operands;
  };
  struct TIntOperand {
    enum class Kind : uint8_t { kNumber, kVariable, kCall };
    Kind kind = Kind::kNumber;
    int32_t number = 0;
    TCall call;
  };
  struct TIntPlan {
    std::vector<TIntOperand> operands;
    std::vector<char16_t> operators;  // operators[i] stands before operands[i + 1]
  };
  struct TArgPiece {
    enum class Kind : uint8_t { kLiteral, kString, kInteger };
    std::u16string_view text;
    Kind kind = Kind::kLiteral;
    int32_t variable = -1;
  };
  using TArgPlan = std::vector<TArgPiece>;
  struct TBoolOperand {
    enum class Kind : uint8_t { kNoValue, kTrue, kFalse, kCall };
    Kind kind = Kind::kNoValue;
    TCall call;
  };
  struct TConditionPlan {
    enum class Kind : uint8_t { kNoValue, kTrue, kFalse, kSingle, kChain };
    Kind kind = Kind::kNoValue;
    TLongWordMode mode = TLongWordMode::errorStatement;
    std::vector<int32_t> codes;  // the operator after each operand but the last
    std::vector<const TStringPlan*> strings;
    std::vector<const TIntPlan*> integers;
    std::vector<TBoolOperand> bools;
  };

  // Statements.
  bool ExecuteBlock(std::u16string_view text);
  bool ExecuteBlockIn(TParsedBlock& block, std::u16string_view text);
  bool ExecutePart(const TStatement& st, int which);
  void ParseStatement(std::u16string_view text, int32_t& position, TStatement& st);
  std::u16string_view ReadAssignment(std::u16string_view text, int32_t& position,
                                     std::u16string& storage);
  std::u16string_view ReadArguments(std::u16string_view text, int32_t& position);
  void MatchBlock(std::u16string_view text, int32_t& position, std::u16string_view word, TStatement& st);
  void ExecuteStatement(const TStatement& st, int32_t& position);
  void ExecuteControl(const TStatement& st, int32_t& position);
  void ExecuteFor(const TStatement& st, int32_t& position);
  void AssignString(int32_t index, const TStringPlan& plan);
  void CallProcedureStatement(const TStatement& st);
  void ControlError(int32_t& position, std::u16string message);

  // Plans.
  const TParsedBlock* BlockFor(std::u16string_view text, std::u16string_view& stable);
  TParsedBlock& BlockNode(std::u16string_view text, std::u16string_view& stable);
  const TStringPlan& StringPlan(std::u16string_view text);
  const TIntPlan& IntPlan(std::u16string_view text);
  const TArgPlan& ArgPlan(std::u16string_view text);
  const TArgPlan& ArgsOf(const TCall& call);
  const TConditionPlan& ConditionPlan(std::u16string_view text);
  TCall ResolveCall(std::u16string_view text) const;
  TBoolOperand ResolveBoolOperand(std::u16string_view piece) const;

  // Evaluation.
  std::u16string RunCall(const TCall& call);
  int32_t RunCallInt(const TCall& call);
  void AppendPlan(const TStringPlan& plan, size_t first, std::u16string& out);
  int32_t RunIntPlan(const TIntPlan& plan);
  std::u16string_view RunBoolOperand(const TBoolOperand& op);
  std::u16string_view RunCondition(const TConditionPlan& plan);
  std::u16string_view StatementCondition(const TStatement& st);
  TLongWordMode ClassifyOperand(std::u16string_view piece);
  bool IsIntegerOperand(std::u16string_view text);
  bool IsStringOperand(std::u16string_view text);
  bool IsBooleanOperand(std::u16string_view text);
  bool IsFunctionOfKind(std::u16string_view text, TFunctionKind kind) const;
  bool SplitCondition(std::u16string_view text, TSplitResult& out) const;

  // Argument lists of calls: variables substituted; for procedures the
  // substitutions are remembered for the write-back. Lists are pooled so
  // that a call allocates nothing once the run is warm.
  struct TSubstitution {
    int32_t argument;
    int32_t variable;
    bool is_string;
  };
  void BuildArguments(const TArgPlan& plan, TArgList& args, std::vector<TSubstitution>* subs);
  class TPooledArgs {
   public:
    explicit TPooledArgs(TParsers& owner);
    ~TPooledArgs();
    TArgList& operator*() { return *list_; }
   private:
    TParsers& owner_;
    std::unique_ptr<TArgList> list_;
  };

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
  uint64_t steps_ = 0;
  bool stopped_ = false;

  TTextMap<TParsedBlock> blocks_;
  TTextMap<TStringPlan> string_plans_;
  TTextMap<TIntPlan> int_plans_;
  TTextMap<TArgPlan> arg_plans_;
  TTextMap<TConditionPlan> condition_plans_;
  TTextMap<TLongWordMode> classes_;
  std::vector<std::unique_ptr<TArgList>> arg_pool_;
};

}  // namespace kovra
