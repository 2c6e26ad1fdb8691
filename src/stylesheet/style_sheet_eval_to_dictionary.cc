#include "stylesheet/style_sheet_eval_to_dictionary.h"

#include <utility>

#include "stylesheet/link_index.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

namespace {

std::string_view withoutFolder(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

StyleSheetEvalToDictionary::StyleSheetEvalToDictionary(std::string filePath, const StyleSheet& sheet,
                                                       LinkIndex& links, std::string outputFolder,
                                                       const StyleSheetFilter& filter)
    : StyleSheetEvaluator(sheet, links, std::move(outputFolder), filter, true, std::move(filePath)) {}

bool StyleSheetEvalToDictionary::writeProperty(std::string_view, StyleSheetObject&) {
  return true;
}

void StyleSheetEvalToDictionary::writeText(std::string_view) {}

void StyleSheetEvalToDictionary::writeLink(StyleSheetObject&, std::string_view) {}

void StyleSheetEvalToDictionary::writeAnchor(StyleSheetObject& object, std::string_view postfix) {
  const std::string_view fileName = withoutFolder(context().currentFile);
  if (postfix.empty()) {
    if (links().findObject(object))
      reportError(") : link for object " + object.FullName() + " already in index");
    links().addObject(fileName, object);
    return;
  }
  const std::string key = links().postfixKey(object, postfix);
  if (links().findNamed(key)) reportError(") : link for object " + object.FullName() + " already in index");
  links().addNamed(fileName, key, key);
}

void StyleSheetEvalToDictionary::newFile(ObjectStack& stack, const std::string& filePath,
                                         const StyleSheet& sheet) {
  StyleSheetEvalToDictionary nested(filePath, sheet, links(), context().outputFolder, filter());
  nested.evaluate(stack);
}

}  // namespace quillet
