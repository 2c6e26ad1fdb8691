// The interface through which style sheet templates see every object: the model classes, the chapters of
// the document, list views over their collections and the loop wrapper. The evaluator asks objects for
// properties, numeric tests, named lists and list elements; it never sees their concrete classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quillet {

struct EvaluationContext;

/// What kind of symbol an object documents. The linked-text writer decides by it which words of a text may
/// become links to the object: a type wherever its name is written, other symbols only where the text
/// writes them as code.
enum class LinkKind : uint8_t { kOther, kType, kFunction, kVariable, kEnumerator };

class StyleSheetObject {
 public:
  /// True when the object knows `property`, after writing its value to `out` (through the context's
  /// filter or unchanged, as each class specifies); false, writing nothing, otherwise.
  virtual bool WriteProperty(const EvaluationContext& context, std::string_view property,
                             std::ostream& out) = 0;
  /// Fixed text naming the object's type, by which object paths find it ("class", "chapter", a list name).
  virtual std::string_view TypeName() const = 0;
  /// The object's name as shown in messages and text; empty by default.
  virtual std::string FullName() const;
  /// The name from which anchors and link targets are formed; empty by default.
  virtual std::string AnchorName() const;
  /// The kind of symbol the object documents; kOther by default.
  virtual LinkKind linkKind() const;
  /// Text that tells the object's declaration apart from every other object of its type, where anchor and
  /// file names, made of fewer characters, may come out alike; copies of one declaration share it.
  /// FullName() by default.
  virtual std::string DeclarationKey() const;
  /// The stem of the output file that documents the object on its own; empty by default.
  virtual std::string FileName(const EvaluationContext& context) const;
  /// True when the object knows the numeric or yes/no `property`, after storing it (yes/no as 1 or 0).
  virtual bool Test(std::string_view property, int32_t& value) const;
  /// The object reachable from this one under `name` (usually a list view), or null.
  virtual StyleSheetObject* GetList(std::string_view name);
  /// The number of elements when the object is a list; 0 otherwise.
  virtual size_t Count() const;
  /// The element at the 0-based `index` when the object is a list and the index is inside it; else null.
  virtual StyleSheetObject* At(size_t index);

 protected:
  StyleSheetObject() = default;
  StyleSheetObject(const StyleSheetObject&) = default;
  StyleSheetObject& operator=(const StyleSheetObject&) = default;
  // Objects are owned and destroyed through their own classes, never through this interface.
  ~StyleSheetObject() = default;
};

}  // namespace quillet
