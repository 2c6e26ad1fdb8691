// The "Style" page of the main window: for each output kind (HTML, RTF, RTF Windows Help, one tab each) the
// output file name and the style sheet set, with "Explore" to open the set's folder; links to include files,
// short file names, source pages, and the background colour and image of the HTML output.
#pragma once

#include <string>

#include "config/configuration.h"
#include "editor/config_page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;

namespace quillet {

class CHTMLOptionPage : public ConfigPage {
 public:
  CHTMLOptionPage(Configuration& configuration, EditorDialogs& dialogs);

  /// Takes over the output file name being edited; false (and the name shown again as stored) when its
  /// extension is not one the output kind allows.
  bool commit() override;
  /// Shows the settings of output `kind`.
  void showKind(OutputKind kind);
  /// The output kind shown.
  OutputKind kind() const;

 protected:
  void reloadLists() override;

 private:
  void fillStyleSets();
  void fillColours();
  void explore();

  QTabBar* kinds_;
  QLabel* outputLabel_;
  QLineEdit* outputName_;
  QListWidget* styles_;
  QLabel* noStyles_;
  QComboBox* colour_;
  QLineEdit* image_;
  QPushButton* browseImage_;
  OutputKind shown_ = OutputKind::kHtml;  // the kind whose settings the controls show
  bool committing_ = false;
};

}  // namespace quillet
