// The "Metrics" page of the main window: the metric level, member functions in the metrics, and the
// thresholds that classes and functions must reach to be shown, which apply (and can be edited) only at the
// detailed level.
#pragma once

#include "editor/config_page.h"

class QGroupBox;

namespace quillet {

class CMetricpage : public ConfigPage {
 public:
  CMetricpage(Configuration& configuration, EditorDialogs& dialogs);

 protected:
  void reloadLists() override;

 private:
  QGroupBox* classes_;
  QGroupBox* functions_;
};

}  // namespace quillet
