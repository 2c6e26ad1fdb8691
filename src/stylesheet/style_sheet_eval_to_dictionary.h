// The dictionary pass: runs a style sheet, and every style sheet its new_file commands start, without
// writing anything, to record in the link index the file and anchor name of every anchor the file pass will
// write. The output stage runs it once per output set, before the file pass.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stylesheet/style_sheet_evaluator.h"

namespace quillet {

class StyleSheetEvalToDictionary final : public StyleSheetEvaluator {
 public:
  /// An evaluator recording the anchors that `sheet` writes into the file `filePath`, into `links`.
  StyleSheetEvalToDictionary(std::string filePath, const StyleSheet& sheet, LinkIndex& links,
                             std::string outputFolder, const StyleSheetFilter& filter);

 protected:
  /// True, writing nothing: no reference of this pass is written back.
  bool writeProperty(std::string_view property, StyleSheetObject& object) override;
  /// Does nothing.
  void writeText(std::string_view text) override;
  /// Records the anchor in the current file; reports an anchor recorded before.
  void writeAnchor(StyleSheetObject& object, std::string_view postfix) override;
  /// Does nothing.
  void writeLink(StyleSheetObject& object, std::string_view postfix) override;
  /// Records the anchors `sheet` would write into `filePath`; opens no file.
  void newFile(ObjectStack& stack, const std::string& filePath, const StyleSheet& sheet) override;
  /// Always 0.
  uint64_t position() override { return 0; }
};

}  // namespace quillet
