// The evaluation context: what the template evaluator hands to every style sheet object operation that
// needs to write output. Objects treat it as an opaque handle and use it only to reach the current output
// filter, the link index and the current output file (the model, the document and the markup writers read
// it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

class LinkLookup;
class StyleSheetFilter;

struct EvaluationContext {
  /// Index of the section being run.
  size_t sectionIndex = 0;
  /// Folder that receives output files and copied files; ends with a separator.
  std::string outputFolder;
  /// Path of the output file being written (for the dictionary pass, the file that would be written).
  std::string currentFile;
  /// Named links of the output set being produced; null when links are not resolved.
  const LinkLookup* linkIndex = nullptr;
  /// Escapes text and knows the link markup of the output format; null only outside an evaluation.
  const StyleSheetFilter* filter = nullptr;
  /// The style sheet's own markup around preformatted comment text: what it writes before and after the
  /// word "fixed_text" in its body (empty when it has none).
  std::string_view fixedTextOpening;
  std::string_view fixedTextClosing;
};

}  // namespace quillet
