#include "stylesheet/style_sheet_evaluator.h"

#include <algorithm>
#include <utility>

#include "common/file_services.h"
#include "common/message_output.h"
#include "common/output_set.h"
#include "stylesheet/condition.h"
#include "stylesheet/evaluation_budget.h"
#include "stylesheet/link_index.h"
#include "stylesheet/style_search.h"
#include "stylesheet/style_sheet_cache.h"
#include "template_objects/style_sheet_filter.h"
#include "template_objects/style_sheet_object.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {

namespace {

// Per thread: a page written on another thread starts from the counts of the thread that met it (see
// nestingState), so it meets the same bounds as on one thread.
// Evaluators alive, nested through new_file.
thread_local int liveEvaluators = 0;
// evaluate() calls in progress, nested through new_file.
thread_local int activeEvaluations = 0;
// Set when the nesting bound was hit during the outermost evaluation in progress. From then on new_file
// commands start nothing: a style sheet that includes itself twice would otherwise run 2^30 evaluations.
thread_local bool nestingExceeded = false;
// Loops in progress over all nested evaluators.
thread_local int loopDepth = 0;

// Counts one level of nesting while it lives, so that the counters stay right whatever ends the level.
class NestingLevel {
 public:
  explicit NestingLevel(int& counter) : counter_(counter) { ++counter_; }
  ~NestingLevel() { --counter_; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;

 private:
  int& counter_;
};

std::string_view withoutFolder(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view withoutFolderAndExtension(std::string_view path) {
  const std::string_view name = withoutFolder(path);
  return name.substr(0, name.rfind('.'));
}

// The first three pieces of `text` between blanks and commas (runs of separators count as one).
void splitNewFileParameters(std::string_view text, std::string_view (&pieces)[3]) {
  size_t position = 0;
  for (std::string_view& piece : pieces) {
    position = text.find_first_not_of(" ,", position);
    if (position == std::string_view::npos) return;
    const size_t end = std::min(text.find_first_of(" ,", position), text.size());
    piece = text.substr(position, end - position);
    position = end;
  }
}

}  // namespace

StyleSheetEvaluator::StyleSheetEvaluator(const StyleSheet& sheet, LinkIndex& links, std::string outputFolder,
                                         const StyleSheetFilter& filter, bool dictionary,
                                         std::string filePath)
    : sheet_(sheet), links_(links), filter_(filter), dictionary_(dictionary) {
  ++liveEvaluators;
  context_.outputFolder = std::move(outputFolder);
  context_.currentFile = std::move(filePath);
  context_.linkIndex = &links_;
  context_.filter = &filter_;
  context_.fixedTextOpening = sheet_.fixedTextOpening();
  context_.fixedTextClosing = sheet_.fixedTextClosing();
}

StyleSheetEvaluator::~StyleSheetEvaluator() {
  --liveEvaluators;
}

int StyleSheetEvaluator::liveCount() {
  return liveEvaluators;
}

StyleSheetEvaluator::NestingState StyleSheetEvaluator::nestingState() {
  return {liveEvaluators, activeEvaluations, loopDepth, nestingExceeded};
}

void StyleSheetEvaluator::setNestingState(const NestingState& state) {
  liveEvaluators = state.liveEvaluators;
  activeEvaluations = state.activeEvaluations;
  loopDepth = state.loopDepth;
  nestingExceeded = state.nestingExceeded;
}

void StyleSheetEvaluator::reportError(std::string_view text) const {
  std::string message = "error(";
  message += sheet_.fileName();
  message += text;
  reportMessage(message);
}

void StyleSheetEvaluator::evaluate(ObjectStack& stack) {
  if (activeEvaluations == 0) nestingExceeded = false;
  if (liveEvaluators > kMaxNesting) {
    nestingExceeded = true;
    reportError(
        ": The maximum nesting depth has been reached. The current style sheet may be including itself. ");
    return;
  }
  const NestingLevel level(activeEvaluations);
  runSections(stack, {});
  finishOutput();
}

const std::string& StyleSheetEvaluator::location() {
  const size_t index = context_.sectionIndex;
  if (locations_.empty()) locations_.resize(sheet_.sectionCount());
  std::string& where = locations_[std::min(index, locations_.size() - 1)];
  if (where.empty()) where = sheet_.location(index);
  return where;
}

void StyleSheetEvaluator::reportAt(std::string_view text) {
  std::string message = "error(";
  message += location();
  message += ") : ";
  message += text;
  reportMessage(message);
}

bool StyleSheetEvaluator::stopped() {
  if (runCanceled() || outputStopped()) return true;
  if (!budgetExhausted()) return false;
  // The evaluation that runs out reports where: usually inside the loops that would not end.
  if (claimBudgetReport()) {
    stopOutput("error(" + location() + ") : the style sheets took " + installedBudget()->reason() +
               "; the loops running here may never end. The output is not written; the previous output "
               "is left as it was.");
  }
  return true;
}

void StyleSheetEvaluator::runSections(ObjectStack& stack, std::string_view loopLabel) {
  const size_t count = sheet_.sectionCount();
  while (context_.sectionIndex < count && !stopped()) {
    const StyleSheet::Section& section = sheet_.section(context_.sectionIndex);
    chargeSteps(1 + section.textTokens().size());
    // The dictionary pass only records anchors, so it skips text that holds none.
    const bool writesText = !(dictionary_ && section.anchorFree());
    switch (section.kind()) {
      case StyleSheet::kForEach:
        runForEach(section, stack);
        continue;  // the index now rests on the loop's next, which is run as a section of its own
      case StyleSheet::kForEachIf:
        runForEachIf(section, stack);
        continue;
      case StyleSheet::kNext:
        if (section.label() == loopLabel) return;
        if (writesText) writeSectionText(section, stack);
        break;
      case StyleSheet::kIf:
        if (writesText && evaluateCondition(section.expressionTokens(), stack, location()))
          writeSectionText(section, stack);
        break;
      case StyleSheet::kCopyFile:
        if (writesText) {
          runCopyFile(section);
          writeSectionText(section, stack);
        }
        break;
      case StyleSheet::kNewFile:
        runNewFile(section, stack);
        if (writesText) writeSectionText(section, stack);
        break;
      default:
        if (writesText) writeSectionText(section, stack);
        break;
    }
    ++context_.sectionIndex;
  }
}

// ---- Section text and references ----

void StyleSheetEvaluator::writeSectionText(const StyleSheet::Section& section, ObjectStack& stack) {
  for (const SectionToken& token : section.textTokens()) {
    if (token.kind == SectionToken::kLiteral) {
      writeText(token.name);
    } else if (!expandReference(token, stack)) {
      writeBack(token.name);
    }
  }
}

void StyleSheetEvaluator::writeBack(std::string_view name) {
  // Ordinary words with an underscore come back as written; "x_+" keeps its "+" after the underscore.
  if (!name.empty() && name.back() == '+') {
    writeText(name.substr(0, name.size() - 1));
    writeText("_+");
  } else {
    writeText(name);
    writeText("_");
  }
}

bool StyleSheetEvaluator::expandReference(const SectionToken& token, ObjectStack& stack) {
  std::string_view name = token.name;
  const bool blankAfter = !name.empty() && name.back() == '+';
  if (blankAfter) name.remove_suffix(1);
  const uint64_t before = blankAfter ? position() : 0;

  bool expanded;
  if (name == "anchor" || name == "link_to") {
    expanded = expandAnchorOrLink(name, token, stack);
  } else if (name == "current_filename") {
    writeText(withoutFolderAndExtension(context_.currentFile));
    expanded = true;
  } else {
    expanded = expandProperty(name, token, stack);
  }
  // "+" separates a value from the text after it, but only a value that wrote something.
  if (expanded && blankAfter && position() != before) writeText(" ");
  return expanded;
}

bool StyleSheetEvaluator::expandAnchorOrLink(std::string_view name, const SectionToken& token,
                                             ObjectStack& stack) {
  const std::string& path = token.firstParameter;
  const std::string& postfix = token.secondParameter;
  if (path.empty() && !postfix.empty()) {
    reportError(") : " + std::string(name) + " tag cannot have an postfix parameter (" + postfix +
                ") without an object parameter.");
    return false;
  }
  StyleSheetObject* object = nullptr;
  if (path.empty()) {
    object = stack.empty() ? nullptr : stack.back();
  } else {
    cutPath(path, pathScratch_);
    object = findObject(pathScratch_, stack);
  }
  if (!object) {
    const std::string innermost = stack.empty() || !stack.back() ? std::string() : stack.back()->FullName();
    if (name == "link_to") {
      reportError(") : object link_to(" + path + ") not found in object " + innermost);
    } else {
      reportError(") : object " + path + " not found.  anchor not expanded in " + innermost);
    }
    return false;
  }
  if (name == "anchor") {
    writeAnchor(*object, postfix);
  } else {
    writeLink(*object, postfix);
  }
  return true;
}

bool StyleSheetEvaluator::expandProperty(std::string_view name, const SectionToken& token,
                                         ObjectStack& stack) {
  if (token.object.empty()) {
    // Offered from the innermost object outwards; the first that knows the property writes it.
    for (size_t i = stack.size(); i-- > 0;) {
      if (stack[i] && writeProperty(name, *stack[i])) {
        chargeSteps(stack.size() - i);
        return true;
      }
    }
    chargeSteps(stack.size());
    return false;
  }
  cutPath(token.object, pathScratch_);
  StyleSheetObject* object = findObject(pathScratch_, stack);
  return object && writeProperty(name, *object);
}

// ---- Loops ----

void StyleSheetEvaluator::runForEach(const StyleSheet::Section& section, ObjectStack& stack) {
  const size_t start = context_.sectionIndex;
  if (StyleSheetObject* list = findObject(section.expressionTokens(), stack)) {
    runLoop(section, stack, list, {});
  } else {
    reportAt("cannot find list object " + section.expression() + " in for_each");
  }
  skipToClosingNext(section, start);
}

void StyleSheetEvaluator::runForEachIf(const StyleSheet::Section& section, ObjectStack& stack) {
  const size_t start = context_.sectionIndex;
  const std::span<const std::string> tokens = section.expressionTokens();
  const size_t comma = static_cast<size_t>(std::find(tokens.begin(), tokens.end(), ",") - tokens.begin());
  if (comma == tokens.size()) {
    reportError("): expression " + joinTokens(tokens) + " missing parameter.");
  } else if (StyleSheetObject* list = findObject(tokens.first(comma), stack)) {
    runLoop(section, stack, list, tokens.subspan(comma + 1));
  } else {
    reportAt("cannot find list object " + section.expression() + " in for_each.");
  }
  skipToClosingNext(section, start);
}

void StyleSheetEvaluator::runLoop(const StyleSheet::Section& section, ObjectStack& stack,
                                  StyleSheetObject* list, std::span<const std::string> condition) {
  if (loopDepth >= kMaxLoopNesting) {
    reportError(") : loops nested more than " + std::to_string(kMaxLoopNesting) + " deep; the loop over " +
                section.expression() + " is skipped.");
    return;
  }
  const NestingLevel level(loopDepth);
  const size_t start = context_.sectionIndex;
  stack.push_back(list);

  // The selection: the elements for which the condition holds, each tested as the innermost object.
  const size_t count = list->Count();
  std::vector<size_t> selection;
  selection.reserve(count);
  for (size_t i = 0; i < count && chargeSteps(1); ++i) {
    StyleSheetObject* element = list->At(i);
    if (!element) continue;
    if (!condition.empty()) {
      stack.push_back(element);
      const bool keep = evaluateCondition(condition, stack, location());
      stack.pop_back();
      if (!keep) continue;
    }
    selection.push_back(i);
  }

  // Inside the body the wrapper stands for the list: it knows the current item's index among the selected.
  StyleSheetObjectListWrapper wrapper(list, std::move(selection));
  stack.back() = &wrapper;
  const size_t selected = wrapper.Count();
  for (size_t k = 0; k < selected && !stopped(); ++k) {
    wrapper.setCurrent(k);
    context_.sectionIndex = start;
    stack.push_back(wrapper.At(k));
    writeSectionText(section, stack);
    ++context_.sectionIndex;
    runSections(stack, section.label());
    stack.pop_back();
  }
  context_.sectionIndex = start;
  stack.pop_back();
}

void StyleSheetEvaluator::skipToClosingNext(const StyleSheet::Section& section, size_t start) {
  const size_t count = sheet_.sectionCount();
  const size_t closing = sheet_.closingNext(start);
  if (closing >= count) reportAt("cannot find closing next statement for label " + section.label());
  context_.sectionIndex = closing;
}

// ---- Files ----

void StyleSheetEvaluator::runNewFile(const StyleSheet::Section& section, ObjectStack& stack) {
  if (nestingExceeded || outputStopped()) return;
  const std::string& expression = section.expression();
  const size_t commas = static_cast<size_t>(std::count(expression.begin(), expression.end(), ','));
  if (commas < 2) {
    reportError("): expression " + expression + " missing parameter.");
    return;
  }
  if (commas > 2) {
    reportError("): expression " + expression + " too many parameters.");
    return;
  }
  std::string_view parameters[3];
  splitNewFileParameters(expression, parameters);
  const auto [objectPath, fileParameter, styleName] = parameters;

  // The object only names the file; the new style sheet runs over the stack as it is.
  cutPath(objectPath, pathScratch_);
  StyleSheetObject* object = findObject(pathScratch_, stack);
  if (!object) return;

  // A file name in double quotes keeps its hyphens ("search-index.js"): the bundled scripts load such
  // files by a fixed name. Otherwise every character but letters, digits and "_" becomes "_".
  std::string_view written = fileParameter;
  const bool keepHyphens = written.size() >= 2 && written.front() == '"' && written.back() == '"';
  if (keepHyphens) written = written.substr(1, written.size() - 2);
  std::string_view name = written;
  std::string extension;
  if (const size_t dot = written.find('.'); dot != std::string_view::npos) {
    name = written.substr(0, dot);
    extension = written.substr(dot);
  } else if (filter_.format() == kHtmlFormat) {
    if (htmlExtension_.empty()) htmlExtension_ = configuredHtmlExtension();
    extension = htmlExtension_;
  } else {
    extension = ".rtf";
  }
  // Two objects whose file names come out alike (geo::Circle and a global geo_scp_Circle) each get a file:
  // the later one's name has a numeric suffix.
  std::string owner(object->TypeName());
  owner += '\n';
  owner += object->DeclarationKey();
  std::string filePath = context_.outputFolder;
  const std::string requested = object->FileName(context_) + std::string(name);
  filePath += keepHyphens ? outputFileNameKeepingHyphens(requested, owner) : outputFileName(requested, owner);
  filePath += extension;
  if (!isInsideFolder(context_.outputFolder, filePath)) {
    reportAt("new_file refused: " + filePath + " lies outside the output folder");
    return;
  }
  newFile(stack, filePath, newFileStyleSheet(context_.sectionIndex, styleName));
}

const StyleSheet& StyleSheetEvaluator::newFileStyleSheet(size_t sectionIndex, std::string_view name) {
  // A new_file inside a loop names the same style sheet for every item: it is looked up once.
  if (newFileSheets_.empty()) newFileSheets_.assign(sheet_.sectionCount(), nullptr);
  const StyleSheet*& sheet = newFileSheets_[sectionIndex];
  if (!sheet) sheet = &cachedStyleSheet(styleSheetPath(filter_.format(), std::string(name)));
  return *sheet;
}

void StyleSheetEvaluator::runCopyFile(const StyleSheet::Section& section) {
  if (outputStopped()) return;
  const std::string& name = section.expression();
  const std::string destination = context_.outputFolder + name;
  if (!isInsideFolder(context_.outputFolder, destination)) {
    reportAt("copy_file refused: " + destination + " lies outside the output folder");
    return;
  }
  copyToOutput(styleSheetPath(filter_.format(), name), destination);
}

}  // namespace quillet
