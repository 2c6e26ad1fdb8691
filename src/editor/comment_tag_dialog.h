// The "Comment Tag Properties" dialog: edits one comment tag (its pattern, what happens to the matched text,
// the text cut around it, a forced paragraph break and the formatting of its paragraph). Used by the
// "Comment Filter" page.
#pragma once

#include "config/comment_tag.h"
#include "editor/item_dialog.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace quillet {

class CCommentTagDialog : public ItemDialog {
 public:
  CCommentTagDialog(const CommentTag& tag, EditorDialogs& dialogs, QWidget* parent);
  /// The tag as first given, changed by what the controls now show.
  CommentTag tag() const;

 protected:
  bool validate() override;

 private:
  void operationChosen(int operation);

  CommentTag tag_;
  QLineEdit* name_;
  QButtonGroup* operation_;
  QLineEdit* replacement_;
  QCheckBox* removeAfter_;
  QCheckBox* removeBefore_;
  QCheckBox* paragraphBreak_;
  QButtonGroup* formatting_;
};

}  // namespace quillet
