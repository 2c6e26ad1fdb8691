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
  /// Passes what the evaluator's own buffer holds to the output stream.
  void finishOutput() override { out_.flush(); }

 private:
  // Collects what is written in a small area of its own and passes it to the output's buffer a block at a
  // time, counting it, so that the position costs no system call and a character written alone costs no
  // call through two buffers. What is left in the area is passed on when the evaluator ends.
  class CountingBuffer final : public std::streambuf {
   public:
    explicit CountingBuffer(std::streambuf* target) : target_(target) { setp(area_, area_ + kAreaSize); }
    CountingBuffer(const CountingBuffer&) = delete;
    CountingBuffer& operator=(const CountingBuffer&) = delete;
    ~CountingBuffer() override { passOn(); }
    uint64_t written() const { return written_ + static_cast<uint64_t>(pptr() - pbase()); }

   protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int_type overflow(int_type c) override;
    int sync() override;

   private:
    static constexpr std::streamsize kAreaSize = 4096;
    // Hands `count` bytes to the output, within the run's output budget.
    void forward(const char* text, std::streamsize count);
    // Hands the area's bytes on and empties it.
    void passOn();

    std::streambuf* target_;
    uint64_t written_ = 0;
    char area_[kAreaSize];
  };

  CountingBuffer buffer_;
  std::ostream out_;
};

}  // namespace quillet
