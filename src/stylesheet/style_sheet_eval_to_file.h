// The file pass: evaluates a style sheet into an open output stream, with every link resolved from the link
// index that the dictionary pass filled. new_file commands open further files and evaluate their style
// sheets into them. The output stage runs it once per output set, after the dictionary pass.
#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "stylesheet/style_sheet_evaluator.h"

namespace quillet {

class StyleSheetEvalToFile final : public StyleSheetEvaluator {
 public:
  /// An evaluator writing `sheet` to `out` (not owned; open for the file `filePath`), with the link index,
  /// output folder and filter of the output set.
  StyleSheetEvalToFile(std::ostream& out, std::string filePath, const StyleSheet& sheet, LinkIndex& links,
                       std::string outputFolder, const StyleSheetFilter& filter);

 protected:
  /// The object's own answer, written to the output.
  bool writeProperty(std::string_view property, StyleSheetObject& object) override;
  /// Writes `text` to the output.
  void writeText(std::string_view text) override;
  /// Writes the anchor name recorded for the object (or for its postfixed key).
  void writeAnchor(StyleSheetObject& object, std::string_view postfix) override;
  /// Writes the link text to the object's anchor; reports an object that has none and writes nothing.
  void writeLink(StyleSheetObject& object, std::string_view postfix) override;
  /// Creates `filePath` and evaluates `sheet` into it; reports a file that cannot be opened.
  void newFile(ObjectStack& stack, const std::string& filePath, const StyleSheet& sheet) override;
  /// The number of characters written to the output so far.
  uint64_t position() override { return buffer_.written(); }

 private:
  // Passes everything to the output's own buffer and counts it, so that the position costs no system call.
  class CountingBuffer final : public std::streambuf {
   public:
    explicit CountingBuffer(std::streambuf* target) : target_(target) {}
    uint64_t written() const { return written_; }

   protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int_type overflow(int_type c) override;
    int sync() override;

   private:
    std::streambuf* target_;
    uint64_t written_ = 0;
  };

  CountingBuffer buffer_;
  std::ostream out_;
};

}  // namespace quillet
