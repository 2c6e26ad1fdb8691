// The "Preprocessing" page of the main window: header reparsing, the INCLUDE environment variable, the
// compiler profile and version (with the profile's own defines shown read-only), the user's defines and the
// include search paths.
#pragma once

#include "editor/config_page.h"

class QComboBox;
class QLineEdit;

namespace quillet {

class CPreProcPage : public ConfigPage {
 public:
  CPreProcPage(Configuration& configuration, EditorDialogs& dialogs);

 protected:
  void reloadLists() override;

 private:
  void fillVersions();
  void showProfileDefines();

  QComboBox* profile_;
  QComboBox* version_;
  QLineEdit* profileDefines_;
};

}  // namespace quillet
