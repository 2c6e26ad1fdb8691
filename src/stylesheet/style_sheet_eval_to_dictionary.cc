#include "stylesheet/style_sheet_eval_to_dictionary.h"

#include <memory>
#include <utility>

#include "common/message_output.h"
#include "common/ordered_effects.h"
#include "stylesheet/link_index.h"
#include "stylesheet/object_stack_copy.h"
#include "stylesheet/page_jobs.h"
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
  // Recording reads what was recorded before; pages read side by side record in the order they were met.
  auto record = [&links = links(), fileName = std::string(withoutFolder(context().currentFile)), &object,
                 postfix = std::string(postfix), sheet = styleSheet().fileName()] {
    if (postfix.empty()) {
      if (links.findObject(object))
        reportMessage("error(" + sheet + ") : link for object " + object.FullName() + " already in index");
      links.addObject(fileName, object);
      return;
    }
    const std::string key = links.postfixKey(object, postfix);
    if (links.findNamed(key))
      reportMessage("error(" + sheet + ") : link for object " + object.FullName() + " already in index");
    links.addNamed(fileName, key, key);
  };
  if (EffectCapture* capture = threadEffectCapture()) {
    capture->call(std::move(record));
  } else if (PageJobs* jobs = PageJobs::startable()) {
    jobs->after(std::move(record));
  } else {
    record();
  }
}

void StyleSheetEvalToDictionary::newFile(ObjectStack& stack, const std::string& filePath,
                                         const StyleSheet& sheet) {
  // A page that starts no further files names no files: it may be read on another thread, its records
  // kept in their place. A page that does start files stays here, since file names are given in order.
  PageJobs* jobs = PageJobs::startable();
  if (jobs && !sheet.startsFiles()) {
    auto copy = std::make_shared<ObjectStackCopy>(stack);
    jobs->start([copy, filePath, &sheet, &links = links(), folder = context().outputFolder,
                 &filter = filter(), nesting = nestingState()] {
      const SeededNesting seeded(nesting);
      StyleSheetEvalToDictionary nested(filePath, sheet, links, folder, filter);
      nested.evaluate(copy->stack());
    });
    return;
  }
  StyleSheetEvalToDictionary nested(filePath, sheet, links(), context().outputFolder, filter());
  nested.evaluate(stack);
}

}  // namespace quillet
