// The built-in dictionary: the fixed table of the 47 functions and the 26
// procedure slots (7 used) that scripts can call, with result kinds, exact
// argument counts and one handler each. Read-only after load.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

class TPrompt;

enum class TFunctionKind : uint8_t { kBoolean = 0, kInteger = 1, kString = 2 };

// The argument list of one call: one text per argument, in call order.
// Entries are views (into variables' values or the script text) until a
// procedure replaces one; a replaced entry owns its text.
class TArgList {
 public:
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  std::u16string_view operator[](size_t i) const { return items_[i]; }
  // A view that must stay valid for the whole call.
  void Push(std::u16string_view item) {
    items_.push_back(item);
    replaced_.push_back(false);
  }
  // A text the list keeps itself.
  void PushOwned(std::u16string value) {
    items_.push_back(owned_.emplace_back(std::move(value)));
    replaced_.push_back(false);
  }
  // What a procedure writes into argument i.
  void Set(size_t i, std::u16string value) {
    items_[i] = owned_.emplace_back(std::move(value));
    replaced_[i] = true;
  }
  bool IsReplaced(size_t i) const { return replaced_[i]; }
  void Clear() {
    items_.clear();
    replaced_.clear();
    owned_.clear();
  }

 private:
  std::vector<std::u16string_view> items_;
  std::vector<bool> replaced_;
  std::deque<std::u16string> owned_;
};

// What a built-in may use besides its arguments.
struct TCallContext {
  TPrompt* prompt = nullptr;  // never null during a run
};

// A function's value; which member counts depends on the function's kind.
struct TFuncValue {
  bool flag = false;
  int32_t number = 0;
  std::u16string text;
};

using TFunctionHandler = TFuncValue (*)(const TArgList& args, TCallContext& ctx);
using TProcedureHandler = void (*)(TArgList& args, TCallContext& ctx);

struct TFunctionEntry {
  std::u16string_view name;  // lower case
  TFunctionKind kind;
  int32_t arity;
  TFunctionHandler handler;
};

struct TProcedureEntry {
  std::u16string_view name;  // lower case; empty for an unused slot
  int32_t arity;
  TProcedureHandler handler;  // null for unused slots and for idhttp
};

inline constexpr int32_t kFunctionCount = 47;
inline constexpr int32_t kProcedureSlots = 26;
inline constexpr int32_t kIdHttpSlot = 5;

std::span<const TFunctionEntry> FunctionTable();    // 47 entries, by index
std::span<const TProcedureEntry> ProcedureTable();  // 26 slots, by index

// Index of the name (already lower-cased; blanks at the ends are ignored) or
// -1. An empty name never matches an unused slot.
int32_t FindFunction(std::u16string_view name);
int32_t FindProcedure(std::u16string_view name);

// The function's value: the handler's when the count matches, else the
// kind's default (false, -1, empty).
TFuncValue CallFunctionValue(int32_t index, const TArgList& args, TCallContext& ctx);

// Runs the handler when the count matches, else the kind's default result
// (false, -1, empty); the value comes back as script text ("True"/"False",
// decimal, or the text).
std::u16string CallFunction(int32_t index, const TArgList& args, TCallContext& ctx);
// Runs the handler when the count matches; otherwise nothing happens.
void CallProcedure(int32_t index, TArgList& args, TCallContext& ctx);

}  // namespace kovra
