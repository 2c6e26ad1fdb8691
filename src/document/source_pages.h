// Source pages of the HTML site: one object per documented file ("source_file" in style sheets), whose
// page shows the file's text with line numbers, an anchor on every line ("L12") and its tokens coloured by
// kind. Declarations link to their lines through the page's anchor, recorded under the file's path.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/source_span.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

/// Finds the coloured stretches of a source text (the scanner's answer); none when no colouring is set.
using SourceColourer = std::function<std::vector<SourceSpan>(std::string_view text)>;

class SourcePage final : public StyleSheetObject {
 public:
  /// The page of the file at `path`, coloured by `colourer` (which may be empty and must outlive the page).
  SourcePage(std::string path, const SourceColourer* colourer)
      : path_(std::move(path)), colourer_(colourer) {}

  const std::string& path() const { return path_; }

  /// "name" (file name), "path" (as the run names the file) and "source_lines" (the text as HTML lines).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "source_file".
  std::string_view TypeName() const override { return "source_file"; }
  /// The path: declarations find their file's page under it.
  std::string FullName() const override { return path_; }
  /// "src_" and the path, made an identifier.
  std::string AnchorName() const override;
  /// The HTML output file's stem, "_" and the anchor name.
  std::string FileName(const EvaluationContext& context) const override;
  /// "line_count": the number of lines of the file.
  bool Test(std::string_view property, int32_t& value) const override;

 private:
  std::string path_;
  const SourceColourer* colourer_;
};

/// Writes `text` as HTML source lines: each line a span with the id "L" and its number, a line number
/// the reader does not select, and the stretches `spans` gives in spans of their kind's class.
void writeSourceLines(std::ostream& out, std::string_view text, const std::vector<SourceSpan>& spans);

}  // namespace quillet
