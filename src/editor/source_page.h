// The "Sources" page of the main window: the configuration's source entries (files or wildcard patterns,
// optionally searched in sub folders), added, edited and deleted through the "Source File Edit" dialog and
// reordered by dragging.
#pragma once

#include <cstddef>

#include "config/configuration.h"
#include "editor/config_page.h"
#include "editor/item_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quillet {

class DropTree;

/// The "Source File Edit" dialog over one source entry.
class CSourceEditDialog : public ItemDialog {
 public:
  CSourceEditDialog(const SourceEntry& entry, EditorDialogs& dialogs, QWidget* parent);
  /// The entry as the dialog's controls now show it.
  SourceEntry entry() const;

 protected:
  bool validate() override;

 private:
  QLineEdit* path_;
  QCheckBox* subfolders_;
};

class CSourcePage : public ConfigPage {
 public:
  CSourcePage(Configuration& configuration, EditorDialogs& dialogs);

  /// Opens the edit dialog on a new entry and appends it when confirmed.
  void addEntry();
  /// Opens the edit dialog on the selected entry and replaces it when confirmed.
  void editEntry();
  /// Deletes the selected entry.
  void deleteEntry();
  /// Moves entry `from` so that it stands before the entry now at `to` (at the end for the entry count).
  void moveEntry(size_t from, size_t to);
  /// Selects entry `index` in the list.
  void select(size_t index);
  /// The selected entry's index, or the entry count when none is selected.
  size_t selected() const;

 protected:
  void reloadLists() override;

 private:
  void updateButtons();

  DropTree* list_;
  QPushButton* edit_;
  QPushButton* delete_;
};

}  // namespace quillet
