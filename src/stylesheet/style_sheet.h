// A style sheet: an HTML page or RTF document with template commands ("$$(for_each (class_list) start L)")
// and references ("name_") written into it, read once into a vector of sections. Each section is one command
// with the literal text that follows it, that text already cut into literal and reference tokens. The
// evaluator runs the sections; the comment writers read the fixed-text opening and closing. Construction
// never fails: every fault of the file is reported through the run's message output and reading goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stylesheet/section_text.h"

namespace quillet {

class StyleSheet {
 public:
  /// The section kinds (the command keywords).
  enum SectionKind {
    kText = 1,       // the prologue, a fixed_text command or an unknown command
    kNext = 2,       // "next": ends the body of the loop with the same label
    kForEach = 3,    // "for_each"
    kForEachIf = 4,  // "for_each_if"
    kNewFile = 5,    // "new_file"
    kIf = 6,         // "if"
    kCopyFile = 7,   // "copy_file"
  };

  // Bounds that keep a hostile file from exhausting memory; real style sheets stay far below them.
  static constexpr size_t kMaxSections = size_t{1} << 16;
  /// Text and expression tokens of the whole style sheet.
  static constexpr size_t kMaxTokens = size_t{1} << 18;

  class Section {
   public:
    /// One of SectionKind.
    int kind() const { return kind_; }
    /// True when the dictionary pass may skip the section: not a loop, and no "anchor" reference in its text.
    bool anchorFree() const { return anchorFree_; }
    /// The command's expression without its outer parentheses.
    const std::string& expression() const { return expression_; }
    /// The expression cut by the command tokenizer, "GT", "LT", "LE", "GE" replaced by operators.
    const std::vector<std::string>& expressionTokens() const { return expressionTokens_; }
    /// The loop label (for_each, for_each_if, next).
    const std::string& label() const { return label_; }
    /// The literal text that follows the command.
    const std::string& text() const { return text_; }
    /// The line of the file on which the section's command starts (1 for the prologue).
    uint32_t line() const { return line_; }
    /// The text cut into literal and reference tokens.
    const std::vector<SectionToken>& textTokens() const { return textTokens_; }

   private:
    friend class StyleSheet;
    int kind_ = kText;
    uint32_t line_ = 1;
    bool anchorFree_ = true;
    std::string expression_;
    std::vector<std::string> expressionTokens_;
    std::string label_;
    std::string text_;
    std::vector<SectionToken> textTokens_;
  };

  /// Reads and parses the file `fileName`; a file that cannot be read is reported and read as empty.
  explicit StyleSheet(const std::string& fileName);
  /// Parses `contents` as the contents of a file called `fileName` (which decides RTF and names messages).
  static StyleSheet fromText(const std::string& fileName, std::string_view contents);

  /// The number of sections; at least 1.
  size_t sectionCount() const { return sections_.size(); }
  /// The section at `index` (below sectionCount()).
  const Section& section(size_t index) const { return sections_[index]; }
  /// The name under which the file was opened, shown in every message about it.
  const std::string& fileName() const { return fileName_; }
  /// The file name and the line of the section at `index`, "main.html:12", for messages.
  std::string location(size_t index) const;
  /// For the loop section at `index`, the index of the next that closes it (the first one after it with
  /// its label); sectionCount() when there is none, or when the section is no loop.
  size_t closingNext(size_t index) const { return closingNext_[index]; }
  /// True when the file name's extension is ".rtf", in any case.
  bool isRTF() const { return isRTF_; }
  /// True when a section starts a new file.
  bool startsFiles() const;
  /// What a fixed_text command placed before the keyword; written before preformatted comment text.
  const std::string& fixedTextOpening() const { return fixedTextOpening_; }
  /// What a fixed_text command placed after the keyword; written after preformatted comment text.
  const std::string& fixedTextClosing() const { return fixedTextClosing_; }

 private:
  StyleSheet(const std::string& fileName, bool);
  void parse(std::string contents);
  size_t parseCommand(std::string_view rest, size_t& budget);
  void addTextSection(std::string_view text, size_t& budget);
  void setText(Section& section, std::string text, size_t& budget);
  void setExpression(Section& section, std::string expression, size_t& budget);
  void report(std::string_view what, std::string_view detail) const;
  void reportTokenLimit();
  void warn(size_t index, std::string_view text) const;
  void findClosingNexts();
  void checkStructure() const;

  std::vector<Section> sections_;
  std::vector<size_t> closingNext_;  // per section; sectionCount() where none
  std::string fixedTextOpening_;
  std::string fixedTextClosing_;
  std::string fileName_;
  bool isRTF_ = false;
  bool reportedTokenLimit_ = false;
  uint32_t parseLine_ = 1;  // the line of the command being parsed
};

}  // namespace quillet
