// The "Comment Filter" page of the main window: the list of comment tags (added, edited and deleted through
// the "Comment Tag Properties" dialog), the choice between a function's declaration and definition comments,
// and the comment extraction and formatting options.
#pragma once

#include <cstddef>

#include "editor/config_page.h"

class QListWidget;
class QPushButton;

namespace quillet {

class CCommentPage : public ConfigPage {
 public:
  CCommentPage(Configuration& configuration, EditorDialogs& dialogs);

  /// Opens the tag dialog on a new tag and appends it when confirmed.
  void addTag();
  /// Opens the tag dialog on a copy of the selected tag and replaces it when confirmed.
  void editTag();
  /// Deletes the selected tag, selecting the same position or, past the end, the one before.
  void deleteTag();
  /// Selects tag `index` in the list.
  void select(size_t index);
  /// The selected tag's index, or the tag count when none is selected.
  size_t selected() const;

 protected:
  void reloadLists() override;

 private:
  void updateButtons();

  QListWidget* list_;
  QPushButton* edit_;
  QPushButton* delete_;
};

}  // namespace quillet
