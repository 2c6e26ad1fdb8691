// The "Arrange" page of the main window: the arrangement tree ("Document organization") with Insert (text,
// document, symbols by name, symbols by file, chapter), Edit, Delete, Auto Fill and moves by drag and drop.
// Every change goes through the arrangement's editing rules (chapter depth, same names) and marks the
// configuration modified.
#pragma once

#include "config/layout_item.h"
#include "editor/config_page.h"

class QAction;
class QPushButton;
class QTreeWidgetItem;

namespace quillet {

class DropTree;

class CLayoutPage : public ConfigPage {
 public:
  CLayoutPage(Configuration& configuration, EditorDialogs& dialogs);

  /// Opens the dialog of a new item of `kind` and inserts what it gives into the selected chapter (the
  /// selected item's chapter when the selection is no chapter; the root when nothing is selected).
  void insert(LayoutItem::Kind kind);
  /// True when "Insert Chapter" is offered for the current selection.
  bool chapterInsertOffered() const;
  /// Opens the selected item's dialog and takes its changes over.
  void editSelected();
  /// Deletes the selected item with its subtree (the root stays).
  void deleteSelected();
  /// Opens the "Automatic Fill" dialog and fills the tree from the folder given.
  void autoFill();
  /// Moves `item` with its subtree to the end of `chapter` when the rules allow; true when it moved.
  bool move(LayoutItem& item, LayoutItem& chapter);

  /// Selects `item` in the tree.
  void select(const LayoutItem* item);
  /// The selected item, or null.
  LayoutItem* selectedItem() const;

 protected:
  void reloadLists() override;

 private:
  void addItems(QTreeWidgetItem* parent, LayoutItem& item);
  void treeChanged(const LayoutItem* select_after);
  LayoutItem& root();
  LayoutItem& targetChapter();
  void updateButtons();

  DropTree* tree_;
  QAction* insertChapter_;
  QPushButton* edit_;
  QPushButton* delete_;
};

}  // namespace quillet
