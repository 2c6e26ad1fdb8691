// One node of the arrangement tree: a chapter, a selection of symbols by name or by header file, an inserted
// or linked external document, or an embedded text. The configuration owns the root (its name is the
// document name); the document builder walks the tree, the editor and the project import edit it. An item
// owns its children; copying an item copies its whole subtree.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

class PortableReader;
class PortableWriter;

class LayoutItem {
 public:
  /// The item kinds; only chapters hold children.
  enum Kind : int32_t {
    kLinkDocument = 1,     // a link to an external file
    kInsertDocument = 2,   // an external text file whose contents are inserted
    kSymbolsByFile = 3,    // everything declared in the named header files
    kClassesByName = 4,    // classes, structs, unions and enumerations whose name matches
    kFunctionsByName = 5,  // functions whose name matches
    kChapter = 6,          // a chapter; the root is one
    kText = 7,             // an embedded text
  };
  static constexpr uint32_t kClassNumber = 1;
  static constexpr size_t kReservedStringCount = 39;
  static constexpr size_t kReservedNumberCount = 26;
  static constexpr size_t kReservedRealCount = 10;
  /// How deep a stored tree may nest before reading it is refused.
  static constexpr int kMaxStoredDepth = 64;

  /// A default item (an unnamed chapter) below `parent`, which does not take ownership.
  explicit LayoutItem(LayoutItem* parent = nullptr) : parent_(parent) {}
  /// A deep copy of `other` with no parent.
  LayoutItem(const LayoutItem& other);
  /// Takes over `other`'s fields and subtree; the moved-to item has no parent.
  LayoutItem(LayoutItem&& other) noexcept;
  /// Replaces this item's fields and subtree with a deep copy of `other`'s; the parent stays.
  LayoutItem& operator=(const LayoutItem& other);
  /// Takes over `other`'s fields and subtree; the parent stays.
  LayoutItem& operator=(LayoutItem&& other) noexcept;
  ~LayoutItem() = default;

  /// True when the two subtrees hold equal fields (parents aside).
  bool operator==(const LayoutItem& other) const;

  /// By kind: the chapter name, the file name (pattern), the symbol name pattern or the text's title.
  const std::string& name() const { return name_; }
  void setName(const std::string& name) { name_ = name; }
  /// One of Kind; a value read from a file is kept as it was.
  int32_t kind() const { return kind_; }
  void setKind(int32_t kind) { kind_ = kind; }
  /// True for a chapter, the only kind that holds children.
  bool isChapter() const { return kind_ == kChapter; }
  /// By kind: an external document's title or an embedded text's body.
  const std::string& text() const { return text_; }
  void setText(const std::string& text) { text_ = text; }
  /// Chapters: header files below it are not combined with their children.
  bool noCombineHeaders() const { return noCombineHeaders_; }
  void setNoCombineHeaders(bool on) { noCombineHeaders_ = on; }
  /// Inserted documents: their formatting is preserved.
  bool preserveFormatting() const { return preserveFormatting_; }
  void setPreserveFormatting(bool on) { preserveFormatting_ = on; }
  /// Symbols by file: comments of the file itself are not extracted.
  bool noHeaderComments() const { return noHeaderComments_; }
  void setNoHeaderComments(bool on) { noHeaderComments_ = on; }
  /// Linked documents: the file is copied next to the output.
  bool copyToOutput() const { return copyToOutput_; }
  void setCopyToOutput(bool on) { copyToOutput_ = on; }

  /// The number of children.
  size_t childCount() const { return children_.size(); }
  /// Child `index` (0-based, display order).
  LayoutItem* child(size_t index) { return children_[index].get(); }
  const LayoutItem* child(size_t index) const { return children_[index].get(); }
  /// Appends a new default child and returns it.
  LayoutItem* addChild();
  /// Appends `item` (taking ownership and becoming its parent) and returns it.
  LayoutItem* adoptChild(std::unique_ptr<LayoutItem> item);
  /// Unlinks child `index` and hands it over with no parent.
  std::unique_ptr<LayoutItem> releaseChild(size_t index);
  /// Unlinks and destroys child `index` with its subtree.
  void removeChild(size_t index);
  /// The position of `item` among the children, or childCount() when it is not one.
  size_t indexOfChild(const LayoutItem* item) const;
  /// The enclosing chapter; null for the root or a detached item.
  LayoutItem* parent() const { return parent_; }
  /// The number of ancestors (0 for the root).
  int depth() const;

  /// Writes this item's record (class 1) and, recursively, its children's.
  void writeRecord(PortableWriter& out) const;
  /// Reads this item's own values and children after its record start; `depth` bounds the nesting.
  bool readRecordBody(PortableReader& in, int depth = 0);
  /// Reads a whole record of class 1 (the root of a tree) into this item, replacing its subtree.
  bool readRecord(PortableReader& in);

 private:
  friend struct TomlFields;  // the readable form of the file carries the reserved slots too

  void copyFrom(const LayoutItem& other);
  void takeFrom(LayoutItem& other);
  bool readChild(PortableReader& in, int depth);

  std::string name_;
  int32_t kind_ = kChapter;
  bool noCombineHeaders_ = false;
  std::string text_;
  bool preserveFormatting_ = false;
  bool noHeaderComments_ = false;
  bool copyToOutput_ = false;
  std::vector<std::unique_ptr<LayoutItem>> children_;
  LayoutItem* parent_ = nullptr;
  std::array<std::string, kReservedStringCount> reservedStrings_;
  std::array<int32_t, kReservedNumberCount> reservedNumbers_{};
  std::array<double, kReservedRealCount> reservedReals_{};
};

}  // namespace quillet
