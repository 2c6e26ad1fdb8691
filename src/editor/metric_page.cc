#include "editor/metric_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <functional>

#include "config/configuration.h"

namespace quillet {

namespace {

constexpr int kDetailedLevel = 0;

using Getter = uint32_t (Configuration::*)() const;
using Setter = void (Configuration::*)(uint32_t);

}  // namespace

CMetricpage::CMetricpage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* level = new QComboBox;
  level->setObjectName("metricLevel");
  level->addItem(tr("No Metrics"), 2);
  level->addItem(tr("Just Summary Metrics"), 1);
  level->addItem(tr("Summary and Detailed Metrics"), kDetailedLevel);
  form->addRow(tr("Metric Level"), level);
  layout->addLayout(form);
  auto* members = new QCheckBox(tr("Show C++ class member functions"));
  members->setObjectName("showMemberFunctions");
  layout->addWidget(members);

  // One threshold: a spin box over an unsigned setting, bounded as the setting is.
  auto threshold = [this](QFormLayout* group, const char* label, const char* name, int most, Getter get,
                          Setter set) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(0, most);
    box->setMinimumWidth(100);
    group->addRow(tr(label), box);
    bindNumber(
        box, [get](const Configuration& c) { return static_cast<int>(std::invoke(get, c)); },
        [set](Configuration& c, int value) { std::invoke(set, c, static_cast<uint32_t>(value)); });
  };
  classes_ = new QGroupBox(tr("Only Show Classes That Have At Least"));
  auto* class_form = new QFormLayout(classes_);
  class_form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  threshold(class_form, "Number of statements", "classMinStatements", 10000,
            &Configuration::classMinStatements, &Configuration::setClassMinStatements);
  threshold(class_form, "Number of public member functions", "classMinPublicFunctions", 1000,
            &Configuration::classMinPublicFunctions, &Configuration::setClassMinPublicFunctions);
  threshold(class_form, "McCabe complexity", "classMinComplexity", 1000, &Configuration::classMinComplexity,
            &Configuration::setClassMinComplexity);
  functions_ = new QGroupBox(tr("Only Show Functions That Have At Least"));
  auto* function_form = new QFormLayout(functions_);
  function_form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  threshold(function_form, "McCabe complexity", "functionMinComplexity", 1000,
            &Configuration::functionMinComplexity, &Configuration::setFunctionMinComplexity);
  threshold(function_form, "Number of statements", "functionMinStatements", 10000,
            &Configuration::functionMinStatements, &Configuration::setFunctionMinStatements);
  layout->addWidget(classes_);
  layout->addWidget(functions_);
  layout->addStretch();
  addHelpButton(layout);

  bindChoice(level, &Configuration::metricLevel, &Configuration::setMetricLevel);
  bindCheck(members, &Configuration::metricsShowMemberFunctions,
            &Configuration::setMetricsShowMemberFunctions);
  connect(level, &QComboBox::currentIndexChanged, this, [this] { reloadLists(); });
}

void CMetricpage::reloadLists() {
  const bool detailed = configuration().metricLevel() == kDetailedLevel;
  classes_->setEnabled(detailed);
  functions_->setEnabled(detailed);
}

}  // namespace quillet
