// The "Options" page of the main window: the document name, which members are documented, functions in the
// table of contents, member sorting and the tab size.
#pragma once

#include "editor/config_page.h"

namespace quillet {

class COptionsPage : public ConfigPage {
 public:
  COptionsPage(Configuration& configuration, EditorDialogs& dialogs);
};

}  // namespace quillet
