#include "stylesheet/condition.h"

#include <charconv>
#include <string>
#include <unordered_map>

#include "common/expression.h"
#include "common/message_output.h"
#include "stylesheet/evaluation_budget.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

namespace {

// count_if inside count_if evaluates recursively; a hostile style sheet could nest it thousands deep.
constexpr int kMaxCountIfNesting = 16;

bool startsWithLetter(std::string_view token) {
  if (token.empty()) return false;
  const char c = token.front();
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void appendNumber(std::string& out, int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void reportExpression(std::string_view styleSheetName, std::string_view what,
                      std::span<const std::string> tokens, std::string_view detail) {
  std::string message = "error(";
  message += styleSheetName;
  message += "): ";
  message += what;
  message += joinTokens(tokens);
  message += detail;
  reportMessage(message);
}

bool evaluate(std::span<const std::string> tokens, ObjectStack& stack, std::string_view name, int depth);

class ConditionRewriter {
 public:
  ConditionRewriter(std::span<const std::string> tokens, ObjectStack& stack, std::string_view name, int depth)
      : tokens_(tokens), stack_(stack), name_(name), depth_(depth) {}

  std::string rewrite() {
    size_t pathStart = kNoPath;
    size_t i = 0;
    while (i < tokens_.size()) {
      const std::string& token = tokens_[i];
      if (pathStart != kNoPath) {
        if (startsWithLetter(token) || token == ".") {
          ++i;
          continue;
        }
        appendPathValue(pathStart, i);
        pathStart = kNoPath;
        out_ += token;
        ++i;
        continue;
      }
      if (token == "count_if") {
        const size_t close = closingParenthesis(i + 2);
        if (close != kNoPath) {
          appendCount(tokens_.subspan(i + 2, close - (i + 2)));
          i = close + 1;
          continue;
        }
        // An unclosed count_if is read as an ordinary name.
      }
      if (startsWithLetter(token)) {
        pathStart = i;
      } else {
        out_ += token;
      }
      ++i;
    }
    if (pathStart != kNoPath) appendPathValue(pathStart, tokens_.size());
    return std::move(out_);
  }

 private:
  static constexpr size_t kNoPath = static_cast<size_t>(-1);

  // The index of the ")" that closes the count_if whose arguments start at `start`; kNoPath when none does.
  size_t closingParenthesis(size_t start) const {
    int depth = 1;
    for (size_t j = start; j < tokens_.size(); ++j) {
      if (tokens_[j] == "(") {
        ++depth;
      } else if (tokens_[j] == ")" && --depth == 0) {
        return j;
      }
    }
    return kNoPath;
  }

  // Tokens [start, end) form a path; its last name is the property, the rest names the object.
  void appendPathValue(size_t start, size_t end) {
    std::span<const std::string> path = tokens_.subspan(start, end - start);
    std::string_view property;
    if (path.size() > 1) {
      property = path.back();
      path = path.first(path.size() - 1);
      if (path.size() > 1 && path.back() == ".") path = path.first(path.size() - 1);
    }
    int32_t value = 0;
    if (!testProperty(tokens_, path, property, stack_, value, name_)) value = 1;
    appendNumber(out_, value);
  }

  // count_if(list path, condition): the number of the list's elements for which the condition holds.
  void appendCount(std::span<const std::string> arguments) {
    size_t comma = 0;
    while (comma < arguments.size() && arguments[comma] != ",") ++comma;
    if (comma == arguments.size()) {
      reportExpression(name_, "expression ", tokens_, " missing parameter.");
      return;
    }
    if (depth_ >= kMaxCountIfNesting) {
      reportExpression(name_, "expression ", tokens_, " nests count_if too deeply.");
      return;
    }
    StyleSheetObject* list = findObject(arguments.first(comma), stack_);
    if (!list) return;
    const std::span<const std::string> condition = arguments.subspan(comma + 1);
    int64_t count = 0;
    stack_.push_back(list);
    const size_t size = list->Count();
    // Each element is a step of the evaluation budget: count_if inside count_if multiplies list sizes.
    for (size_t i = 0; i < size && chargeSteps(1); ++i) {
      StyleSheetObject* element = list->At(i);
      if (!element) continue;
      if (condition.empty()) {  // no condition: every element counts, as in a loop without one
        ++count;
        continue;
      }
      stack_.push_back(element);
      if (evaluate(condition, stack_, name_, depth_ + 1)) ++count;
      stack_.pop_back();
    }
    stack_.pop_back();
    appendNumber(out_, count);
  }

  std::span<const std::string> tokens_;
  ObjectStack& stack_;
  std::string_view name_;
  int depth_;
  std::string out_;
};

// The values of rewritten conditions already computed on this thread. A rewritten condition holds only
// numbers and operators, so its text decides its value; the same few texts ("1&&!0", "3>0") come back for
// every page, and parsing each again showed in the profile of every large run. Texts with a division are left
// out, as the expression evaluator keeps the reports of a division by zero to itself; so are texts that
// do not compute, which are reported each time.
class ComputedConditions {
 public:
  const int32_t* find(const std::string& text) const {
    const auto found = values_.find(text);
    return found == values_.end() ? nullptr : &found->second;
  }
  void remember(const std::string& text, int32_t value) {
    if (text.find_first_of("/%") != std::string::npos) return;
    if (values_.size() >= kMostRemembered) values_.clear();
    values_.emplace(text, value);
  }

 private:
  static constexpr size_t kMostRemembered = 4096;
  std::unordered_map<std::string, int32_t> values_;
};

bool evaluate(std::span<const std::string> tokens, ObjectStack& stack, std::string_view name, int depth) {
  if (!chargeSteps(tokens.size())) return false;
  thread_local ComputedConditions computed;
  std::string text = ConditionRewriter(tokens, stack, name, depth).rewrite();
  if (const int32_t* value = computed.find(text)) return *value != 0;
  C_Like_Expression expression(text);
  std::string_view what;
  switch (expression.status()) {
    case kExpressionInvalidToken:
      what = "invalid token in expression ";
      break;
    case kExpressionInvalid:
      what = "invalid expression ";
      break;
    case kExpressionUnbalanced:
      what = "mismatch parentheses in expression ";
      break;
    case 5:  // a malformed number
      what = "invalid number in expression ";
      break;
    default: {
      const int32_t value = expression.Evaluate();
      computed.remember(text, value);
      return value != 0;
    }
  }
  reportExpression(name, what, tokens, " -> " + expression.text());
  return false;
}

}  // namespace

bool evaluateCondition(std::span<const std::string> tokens, ObjectStack& stack,
                       std::string_view styleSheetName) {
  return evaluate(tokens, stack, styleSheetName, 0);
}

std::string rewriteCondition(std::span<const std::string> tokens, ObjectStack& stack,
                             std::string_view styleSheetName) {
  return ConditionRewriter(tokens, stack, styleSheetName, 0).rewrite();
}

bool testProperty(std::span<const std::string> expression, std::span<const std::string> path,
                  std::string_view property, const ObjectStack& stack, int32_t& value,
                  std::string_view styleSheetName) {
  StyleSheetObject* object = findObject(path, stack);
  if (object && object->Test(property, value)) return true;
  std::string message = "error(";
  message += styleSheetName;
  if (object) {
    message += ") : unknown property ";
    message += property;
    message += " in object ";
  } else {
    message += ") : cannot find object ";
  }
  message += joinTokens(path);
  message += " in expression ";
  message += joinTokens(expression);
  reportMessage(message);
  return false;
}

}  // namespace quillet
