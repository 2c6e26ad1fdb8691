#include "stylesheet/object_path.h"

#include "stylesheet/command_tokenizer.h"
#include "stylesheet/evaluation_budget.h"
#include "template_objects/style_sheet_object.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {

namespace {

bool isLoopWrapper(StyleSheetObject* object) {
  return dynamic_cast<StyleSheetObjectListWrapper*>(object) != nullptr;
}

template <typename Token>
StyleSheetObject* find(std::span<const Token> path, const ObjectStack& stack) {
  if (path.empty()) return nullptr;
  const std::string_view first = path[0];

  // The first name: the innermost object of that type, or a list some object offers under that name. Each
  // object asked is a step of the evaluation budget: inside loops nested deep the stack is long.
  size_t current = stack.size();
  for (size_t i = stack.size(); i-- > 0;) {
    StyleSheetObject* object = stack[i];
    if (!object) continue;
    if (object->TypeName() == first) {
      current = i;
      break;
    }
    if (StyleSheetObject* list = object->GetList(first)) {
      chargeSteps(stack.size() - i);
      return path.size() == 1 ? list : nullptr;
    }
  }
  chargeSteps(stack.size() - (current == stack.size() ? 0 : current) + path.size());
  if (current == stack.size()) return nullptr;

  // Later names walk inwards, one object per name; "." between names is skipped.
  for (size_t t = 1; t < path.size(); ++t) {
    const std::string_view name = path[t];
    if (t % 2 == 1 && name == ".") continue;
    size_t next = current + 1;
    // The list of a loop stands between an object and the loop's current item: `class.function` finds the
    // function of the class's function loop as `class.function_list.function` does.
    if (next < stack.size() && stack[next] && stack[next]->TypeName() != name && isLoopWrapper(stack[next]))
      ++next;
    if (next < stack.size() && stack[next] && stack[next]->TypeName() == name) {
      current = next;
      continue;
    }
    StyleSheetObject* list = stack[current]->GetList(name);
    return list && t + 1 == path.size() ? list : nullptr;
  }
  return stack[current];
}

}  // namespace

StyleSheetObject* findObject(std::span<const std::string> path, const ObjectStack& stack) {
  return find(path, stack);
}

StyleSheetObject* findObject(std::span<const std::string_view> path, const ObjectStack& stack) {
  return find(path, stack);
}

void cutPath(std::string_view text, std::vector<std::string_view>& tokens) {
  tokens.clear();
  size_t position = 0;
  for (std::string_view token = nextCommandToken(text, position); !token.empty();
       token = nextCommandToken(text, position)) {
    tokens.push_back(token);
  }
}

std::string joinTokens(std::span<const std::string> tokens) {
  std::string joined;
  for (const std::string& token : tokens) joined += token;
  return joined;
}

}  // namespace quillet
