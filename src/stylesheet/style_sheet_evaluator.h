// The template evaluator: runs the sections of one style sheet against an object stack, writing literal
// text, expanding references ("name_", "class.name_+", "link_to_(class)"), running loops over lists,
// testing conditions, starting new output files and copying files. This base holds the whole run; the two
// concrete evaluators decide what writing means: StyleSheetEvalToDictionary records where anchors will be,
// StyleSheetEvalToFile writes the output with links resolved. The output stage runs both over the document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stylesheet/object_path.h"
#include "stylesheet/section_text.h"
#include "stylesheet/style_sheet.h"
#include "template_objects/evaluation_context.h"

namespace quillet {

class LinkIndex;
class StyleSheetFilter;
class StyleSheetObject;

class StyleSheetEvaluator {
 public:
  /// The deepest nesting of evaluators (style sheets started by new_file inside one another).
  static constexpr int kMaxNesting = 30;
  /// The deepest nesting of loops over all nested evaluators; deeper loops are skipped after a report.
  static constexpr int kMaxLoopNesting = 200;

  virtual ~StyleSheetEvaluator();
  StyleSheetEvaluator(const StyleSheetEvaluator&) = delete;
  StyleSheetEvaluator& operator=(const StyleSheetEvaluator&) = delete;

  /// Runs the whole style sheet over `stack` (which is the same on return); writes nothing but one report
  /// when evaluators are already nested kMaxNesting deep.
  void evaluate(ObjectStack& stack);
  /// Runs sections from the current section index until the end, a cancellation, or a next section whose
  /// label equals `loopLabel` (the index then stays on that section).
  void runSections(ObjectStack& stack, std::string_view loopLabel);

  /// The number of evaluators alive on the calling thread.
  static int liveCount();

  /// The calling thread's nesting counts: evaluators alive, evaluations and loops in progress, and
  /// whether the nesting bound was hit. A page written on another thread starts from the counts of the
  /// thread that met its new_file.
  struct NestingState {
    int liveEvaluators = 0;
    int activeEvaluations = 0;
    int loopDepth = 0;
    bool nestingExceeded = false;
  };
  static NestingState nestingState();
  static void setNestingState(const NestingState& state);
  /// Gives the calling thread the nesting counts `state` while it lives, then its own again: a page
  /// written on another thread starts where the thread that met it stood.
  class SeededNesting {
   public:
    explicit SeededNesting(const NestingState& state) : own_(nestingState()) { setNestingState(state); }
    ~SeededNesting() { setNestingState(own_); }
    SeededNesting(const SeededNesting&) = delete;
    SeededNesting& operator=(const SeededNesting&) = delete;

   private:
    NestingState own_;
  };
  /// The context handed to the objects.
  const EvaluationContext& context() const { return context_; }
  /// The style sheet being run.
  const StyleSheet& styleSheet() const { return sheet_; }

 protected:
  /// An evaluator of `sheet` for the output file `filePath`, sharing `links`, `outputFolder` (ending in a
  /// separator) and `filter` with the evaluators it starts; `dictionary` for the pass that only records.
  StyleSheetEvaluator(const StyleSheet& sheet, LinkIndex& links, std::string outputFolder,
                      const StyleSheetFilter& filter, bool dictionary, std::string filePath);

  /// True when `object` knows `property`, after writing its value.
  virtual bool writeProperty(std::string_view property, StyleSheetObject& object) = 0;
  /// Writes literal text unchanged.
  virtual void writeText(std::string_view text) = 0;
  /// Writes or records the anchor of `object` (`postfix` empty for its plain anchor).
  virtual void writeAnchor(StyleSheetObject& object, std::string_view postfix) = 0;
  /// Writes the link to `object`'s anchor (`postfix` empty for its plain anchor).
  virtual void writeLink(StyleSheetObject& object, std::string_view postfix) = 0;
  /// Evaluates `sheet` over `stack` into the output file `filePath`, with a nested evaluator of the same
  /// kind.
  virtual void newFile(ObjectStack& stack, const std::string& filePath, const StyleSheet& sheet) = 0;
  /// A number that grows with every character written to the current file.
  virtual uint64_t position() = 0;
  /// Called when the evaluation ends: whatever is held back goes to the output.
  virtual void finishOutput() {}

  /// The link index shared by the evaluators of the output set.
  LinkIndex& links() const { return links_; }
  /// The filter of the output set.
  const StyleSheetFilter& filter() const { return filter_; }
  /// Reports "error(" + style sheet name + `text`.
  void reportError(std::string_view text) const;
  /// Reports "error(" + style sheet name, ":" and the line of the current section + ") : " + `text`.
  void reportAt(std::string_view text);
  /// The style sheet's name and the line of the current section, "main.html:12".
  const std::string& location();
  /// True when evaluation must end: the run was cancelled, the output stopped, or the evaluation budget
  /// ran out (reported here, once per budget, with the section where it happened).
  bool stopped();

 private:
  void writeSectionText(const StyleSheet::Section& section, ObjectStack& stack);
  bool expandReference(const SectionToken& token, ObjectStack& stack);
  bool expandAnchorOrLink(std::string_view name, const SectionToken& token, ObjectStack& stack);
  bool expandProperty(std::string_view name, const SectionToken& token, ObjectStack& stack);
  void writeBack(std::string_view name);

  void runForEach(const StyleSheet::Section& section, ObjectStack& stack);
  void runForEachIf(const StyleSheet::Section& section, ObjectStack& stack);
  void runLoop(const StyleSheet::Section& section, ObjectStack& stack, StyleSheetObject* list,
               std::span<const std::string> condition);
  void skipToClosingNext(const StyleSheet::Section& section, size_t start);

  void runNewFile(const StyleSheet::Section& section, ObjectStack& stack);
  void runCopyFile(const StyleSheet::Section& section);
  const StyleSheet& newFileStyleSheet(size_t sectionIndex, std::string_view name);

  const StyleSheet& sheet_;
  LinkIndex& links_;
  const StyleSheetFilter& filter_;
  const bool dictionary_;
  EvaluationContext context_;
  std::vector<std::string_view> pathScratch_;     // reused for the object paths of references
  std::vector<const StyleSheet*> newFileSheets_;  // per new_file section, its style sheet (found once)
  std::string htmlExtension_;                     // found once, on the first new_file
  std::vector<std::string> locations_;            // per section, "file:line" (made when first needed)
};

}  // namespace quillet
