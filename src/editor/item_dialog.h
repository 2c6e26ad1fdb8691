// The common frame of the editor's small edit dialogs (source entry, arrangement items, comment tag): a
// titled dialog with OK and Cancel whose OK first checks the entries and stays open, after telling the user
// why, when they are refused. Tests fill the controls and call tryAccept() as OK would.
#pragma once

#include <QDialog>
#include <string_view>

class QBoxLayout;
class QLineEdit;

namespace quillet {

class EditorDialogs;

class ItemDialog : public QDialog {
 public:
  /// A dialog titled `title`; `dialogs` tells the user about refused entries.
  ItemDialog(std::string_view title, EditorDialogs& dialogs, QWidget* parent);

  /// Checks the entries as OK does and closes the dialog accepted when they pass; false when refused.
  bool tryAccept();

 protected:
  /// True when the entries may be taken over; otherwise tells the user why and returns false.
  virtual bool validate() { return true; }
  EditorDialogs& dialogs() { return dialogs_; }
  /// The layout to which the dialog adds its controls, above OK and Cancel.
  QBoxLayout* body() { return body_; }
  /// A labelled line edit added to the body; `name` is its object name.
  QLineEdit* addLineEdit(std::string_view label, const char* name);

 private:
  EditorDialogs& dialogs_;
  QBoxLayout* body_;
};

}  // namespace quillet
