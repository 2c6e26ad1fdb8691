#include "editor/preproc_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "config/compiler_profiles.h"
#include "config/configuration.h"
#include "editor/qt_text.h"

namespace quillet {

CPreProcPage::CPreProcPage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  auto* reparse = new QCheckBox(tr("Reparse headers for each module (slow)"));
  auto* ignore_include = new QCheckBox(tr("Ignore INCLUDE environment variable"));
  reparse->setObjectName("reparseHeaders");
  ignore_include->setObjectName("ignoreInclude");
  layout->addWidget(reparse);
  layout->addWidget(ignore_include);

  auto* compiler = new QGroupBox(tr("Compiler"));
  auto* form = new QFormLayout(compiler);
  profile_ = new QComboBox;
  profile_->setObjectName("profile");
  for (size_t row = 0; row < compilerProfileCount(); ++row)
    profile_->addItem(toQString(compilerProfileRow(row)->name), QVariant::fromValue(static_cast<int>(row)));
  version_ = new QComboBox;
  version_->setObjectName("version");
  profileDefines_ = new QLineEdit;
  profileDefines_->setObjectName("profileDefines");
  profileDefines_->setReadOnly(true);
  form->addRow(tr("Compiler and Project Type"), profile_);
  form->addRow(tr("Compiler Version"), version_);
  form->addRow(tr("Defines for the project"), profileDefines_);
  layout->addWidget(compiler);

  auto* user = new QFormLayout;
  auto* defines = new QLineEdit;
  auto* include_path = new QLineEdit;
  defines->setObjectName("defines");
  include_path->setObjectName("includePath");
  user->addRow(tr("Additional defines"), defines);
  user->addRow(tr("Include search paths"), include_path);
  layout->addLayout(user);
  layout->addStretch();
  addHelpButton(layout);

  bindCheck(reparse, &Configuration::reparseHeaders, &Configuration::setReparseHeaders);
  bindCheck(
      ignore_include, [](const Configuration& c) { return !c.useIncludeEnvironment(); },
      [](Configuration& c, bool on) { c.setUseIncludeEnvironment(!on); });
  bindText(defines, &Configuration::defines, &Configuration::setDefines);
  bindText(include_path, &Configuration::includePath, &Configuration::setIncludePath);

  connect(profile_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (loading() || index < 0) return;
    this->configuration().setCompilerProfile(static_cast<uint32_t>(index));
    // A version the new compiler does not list falls back to its first.
    const size_t versions = compilerVersions(static_cast<size_t>(index)).size();
    if (versions > 0 && this->configuration().compilerVersion() >= versions)
      this->configuration().setCompilerVersion(0);
    reload();
  });
  connect(version_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (loading() || index < 0) return;
    this->configuration().setCompilerVersion(static_cast<uint32_t>(index));
    showProfileDefines();
  });
}

void CPreProcPage::reloadLists() {
  const uint32_t row = configuration().compilerProfile();
  profile_->setCurrentIndex(row < compilerProfileCount() ? static_cast<int>(row) : -1);
  fillVersions();
  showProfileDefines();
}

void CPreProcPage::fillVersions() {
  version_->clear();
  for (const CompilerVersion& version : compilerVersions(configuration().compilerProfile()))
    version_->addItem(toQString(version.name));
  const uint32_t chosen = configuration().compilerVersion();
  version_->setCurrentIndex(chosen < static_cast<uint32_t>(version_->count()) ? static_cast<int>(chosen)
                                                                              : -1);
  version_->setEnabled(version_->count() > 0);
}

void CPreProcPage::showProfileDefines() {
  profileDefines_->setText(toQString(configuration().profileDefines()));
  profileDefines_->setCursorPosition(0);
}

}  // namespace quillet
