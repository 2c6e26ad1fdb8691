// The last step of comment association, once every module is read and the assigned comments are applied:
// comments take in the comments their @copydoc names, each function's parameters take the text its
// comment's @param gives them (so a parameter list shows it), and @param names that fit no parameter, or
// parameters some of which are documented and others not, are reported.
#include <string>
#include <utility>

#include "common/message_output.h"
#include "frontend/builder/code_store.h"
#include "model/comment_sections.h"

namespace quillet {

namespace {

// A parameter without a comment of its own takes the one the function's comment gives it, with the
// direction written there.
void shareParameterTexts(Function& function) {
  for (FunctionArg& arg : function.args) {
    if (arg.name.empty()) continue;
    for (const DocText* comment : {&function.declarationDoc, &function.definitionDoc}) {
      const CommentSections* sections = comment->sections();
      const CommentItem* item = sections ? sections->parameter(arg.name) : nullptr;
      if (!item) continue;
      DocText& own = comment == &function.declarationDoc ? arg.declarationDoc : arg.definitionDoc;
      if (own.empty()) own = item->text;
      if (arg.direction.empty()) arg.direction = item->direction;
    }
  }
}

// The function as messages name it: "ns::Class::name(int, char*)".
std::string describe(const Function& function) {
  std::string text = function.SignatureText();
  return text.starts_with("::") ? text.substr(2) : text;
}

void reportParameterNames(const Function& function) {
  const DocText shown = function.CombinedComment();
  const CommentSections* sections = shown.sections();
  if (!sections || sections->params.empty()) return;
  const std::string where = "warning: (" + shown.fileName() + ") ";
  for (const CommentItem& item : sections->params) {
    std::string_view names = item.name;
    while (!names.empty()) {
      const size_t comma = names.find(", ");
      const std::string_view name = names.substr(0, comma);
      bool found = name == "...";
      for (const FunctionArg& arg : function.args) found = found || arg.name == name;
      if (!found)
        reportMessage(where + "@param names " + std::string(name) + ", which " + describe(function) +
                      " does not have.");
      if (comma == std::string_view::npos) break;
      names.remove_prefix(comma + 2);
    }
  }
  std::string undocumented;
  for (const FunctionArg& arg : function.args) {
    if (arg.name.empty() || shown.parameterText(arg.name) || !arg.CombinedComment().empty()) continue;
    if (!undocumented.empty()) undocumented += ", ";
    undocumented += arg.name;
  }
  if (!undocumented.empty())
    reportMessage(where + "the parameters of " + describe(function) + " are partly documented; " +
                  undocumented + " has no @param.");
}

}  // namespace

bool CodeStore::documentedComment(std::string_view name, DocText& found) {
  const auto take = [&found](DocText comment) {
    found = std::move(comment);
    return true;
  };
  name = name.substr(0, name.find('('));
  while (name.starts_with("::")) name.remove_prefix(2);
  for (;;) {
    if (const auto position = functionIndex_.find(name);
        position != functionIndex_.end() && !position->second.empty())
      return take(functions_[position->second.front()].CombinedComment());
    if (const auto position = enumIndex_.find(name);
        position != enumIndex_.end() && !position->second.empty())
      return take(enums_[position->second.front()].doc);
    if (const Class* owner = GetClass(name)) return take(owner->doc);
    const size_t scope = name.rfind("::");
    if (scope != std::string_view::npos) {
      if (const Class* owner = GetClass(name.substr(0, scope))) {
        const std::string_view member = name.substr(scope + 2);
        for (const Function& function : *owner->functions)
          if (function.name == member) return take(function.CombinedComment());
        for (const Enum& nested : owner->enums)
          if (nested.name == member) return take(nested.doc);
      }
    }
    // A name written with namespaces the store does not file it under.
    const size_t first = name.find("::");
    if (first == std::string_view::npos) return false;
    name.remove_prefix(first + 2);
  }
}

void CodeStore::copyDocumentation(DocText& comment) {
  if (comment.copyTargets().empty()) return;
  const std::vector<std::string> targets(comment.copyTargets().begin(), comment.copyTargets().end());
  for (const std::string& target : targets) {
    if (DocText copied; documentedComment(target, copied)) {
      comment.append(copied);
    } else {
      reportMessage("warning: (" + comment.fileName() + ") cannot find " + target +
                    ", which @copydoc names.");
    }
  }
}

void CodeStore::FinishComments() {
  const auto finishFunction = [this](Function& function) {
    copyDocumentation(function.declarationDoc);
    copyDocumentation(function.definitionDoc);
    shareParameterTexts(function);
    reportParameterNames(function);
  };
  for (Function& function : functions_) finishFunction(function);
  for (Enum& enumeration : enums_) copyDocumentation(enumeration.doc);
  for (Class& owner : classes_) {
    copyDocumentation(owner.doc);
    for (Function& function : *owner.functions) finishFunction(function);
    for (Enum& nested : owner.enums) copyDocumentation(nested.doc);
  }
}

}  // namespace quillet
