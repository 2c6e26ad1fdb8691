// A comment tag: a user-defined marker (a pattern) that may occur inside source comments, with what to do
// with it: keep, remove or replace the matched text, cut the text before or after it, force a paragraph
// break before it, and how to format its paragraph. The configuration holds the ordered list; comment text
// processing applies it (see tag_matching.h); the editor's comment page edits it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

class PortableReader;
class PortableWriter;

class CommentTag {
 public:
  /// What happens to the matched tag text.
  enum Operation : int32_t {
    kKeepTag = 1,          // "Do not remove tag from comments"
    kRemoveTag = 2,        // "Always remove tag from comments"
    kRemoveWhenEmpty = 3,  // "Remove tag only when empty"
    kReplaceTag = 4,       // "Always replace tag with text"
  };
  /// How the paragraph holding the tag is formatted.
  enum Formatting : int32_t {
    kAutoFormat = 1,          // "Automatically format text"
    kPreserveAll = 2,         // "Preserve all formatting in the text"
    kPreserveParagraphs = 3,  // "Preserve only paragraph breaks in the text"
  };
  static constexpr uint32_t kClassNumber = 2;
  static constexpr size_t kReservedCount = 10;

  /// A new tag: empty name, kept tag text, automatic formatting.
  CommentTag() = default;

  /// True when every field, reserved ones included, is equal.
  bool operator==(const CommentTag& other) const = default;

  /// The tag's pattern text (pattern syntax of common/pattern.h).
  const std::string& tagName() const { return tagName_; }
  void setTagName(const std::string& name) { tagName_ = name; }

  /// One of Operation: what happens to the matched tag text.
  int32_t operation() const { return operation_; }
  void setOperation(int32_t operation) { operation_ = operation; }
  /// The text that replaces the tag under kReplaceTag; the two characters "\n" stand for a line break.
  const std::string& replacement() const { return replacement_; }
  void setReplacement(const std::string& text) { replacement_ = text; }
  /// True when the text from the tag to the next tag (or the end) is cut.
  bool removeTextAfter() const { return removeTextAfter_; }
  void setRemoveTextAfter(bool on) { removeTextAfter_ = on; }
  /// True when the text from the previous tag (or the start) to the tag is cut.
  bool removeTextBefore() const { return removeTextBefore_; }
  void setRemoveTextBefore(bool on) { removeTextBefore_ = on; }
  /// True when the tag always starts a new paragraph.
  bool paragraphBreakBefore() const { return paragraphBreakBefore_; }
  void setParagraphBreakBefore(bool on) { paragraphBreakBefore_ = on; }
  /// One of Formatting: how the paragraph holding the tag is formatted.
  int32_t formatting() const { return formatting_; }
  void setFormatting(int32_t formatting) { formatting_ = formatting; }

  /// Writes the tag's record (class 2) in the current layout.
  void writeRecord(PortableWriter& out) const;
  /// Reads a record of class 2 in either the current or the older layout.
  bool readRecord(PortableReader& in);

 private:
  friend struct TomlFields;  // the readable form of the file carries the reserved slots too

  bool readValues(PortableReader& in);

  std::string tagName_;
  int32_t operation_ = kKeepTag;
  std::string replacement_;
  bool removeTextAfter_ = false;
  bool removeTextBefore_ = false;
  bool paragraphBreakBefore_ = false;
  int32_t formatting_ = kAutoFormat;
  std::array<std::string, kReservedCount> reservedTexts_;
  std::array<int32_t, kReservedCount> reservedNumbers_{};
};

}  // namespace quillet
