// The edit dialogs of the arrangement tree, one per item kind: "Edit Chapter", "External Document Edit"
// (linked or inserted documents), "Text Edit", "Symbol Edit" (classes or functions by name), "Include File
// Edit " (symbols by header file), and the "Automatic Fill" dialog. Each shows an item, checks the entries
// as the arrangement's rules require, and writes them back into an item. Used by the "Arrange" page.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/layout_item.h"
#include "editor/item_dialog.h"

class QLineEdit;

namespace quillet {

/// Where the edited item stands, for the checks that depend on it.
struct LayoutItemPlace {
  const LayoutItem* chapter = nullptr;  // the chapter holding (or to hold) the item; null for the root
  const LayoutItem* self = nullptr;     // the item being edited among the chapter's children; null when new
  bool allowNoCombineHeaders = false;   // a chapter at this place may set "do not combine child headers"
  bool allowSeveralFiles = false;       // a new file item may name several files at once
};

class LayoutItemDialog : public ItemDialog {
 public:
  /// The names the user gave: one, or several files chosen together when the place allows it.
  std::vector<std::string> names() const;
  /// Writes the dialog's choices other than the name into `item` (its kind included).
  virtual void apply(LayoutItem& item) const = 0;

 protected:
  LayoutItemDialog(std::string_view title, EditorDialogs& dialogs, QWidget* parent);
  /// Adds the name field under `label`, showing `item`'s name.
  void addNameField(std::string_view label, const LayoutItem& item);
  /// Adds a "&Browse ..." button that fills the name field with files chosen by the user.
  void addBrowseButton(bool several);

  /// Each name's check: refuses (telling why) when empty, or when `as_pattern` and it does not compile as
  /// a pattern; when `must_exist` and it names no file, asks whether to keep it.
  bool checkNames(bool as_pattern, bool must_exist);

  QLineEdit* name_ = nullptr;
  bool several_ = false;  // the name field may hold several quoted file names
};

/// The dialog that edits an item of `item`'s kind at `place`.
std::unique_ptr<LayoutItemDialog> makeLayoutItemDialog(const LayoutItem& item, const LayoutItemPlace& place,
                                                       EditorDialogs& dialogs, QWidget* parent);

/// The "Automatic Fill" dialog: asks for a source root folder and hands it to `fill`, which returns the
/// number of header files found; with none found the user is told so and the dialog stays open.
class CAutoFillDialog : public ItemDialog {
 public:
  CAutoFillDialog(std::function<size_t(const std::string&)> fill, EditorDialogs& dialogs, QWidget* parent);

 protected:
  bool validate() override;

 private:
  std::function<size_t(const std::string&)> fill_;
  QLineEdit* folder_;
};

}  // namespace quillet
