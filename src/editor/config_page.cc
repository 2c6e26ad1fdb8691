#include "editor/config_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>

#include "config/configuration.h"
#include "editor/editor_dialogs.h"
#include "editor/qt_text.h"

#ifndef QUILLET_SOURCE_README
#define QUILLET_SOURCE_README ""
#endif

namespace quillet {

namespace {

// The installed documentation, else the README of the source tree this program was built from.
QString documentationFile() {
  const QString installed = QFileInfo(QString::fromLocal8Bit("/proc/self/exe")).canonicalFilePath();
  const QString beside = QFileInfo(installed).absolutePath() + "/../share/doc/quillet/README.md";
  if (QFileInfo::exists(beside)) return QFileInfo(beside).canonicalFilePath();
  return QString::fromUtf8(QUILLET_SOURCE_README);
}

}  // namespace

ConfigPage::ConfigPage(Configuration& configuration, EditorDialogs& dialogs)
    : configuration_(configuration), dialogs_(dialogs) {}

void ConfigPage::reload() {
  loading_ = true;
  for (const std::function<void()>& load : loaders_) load();
  reloadLists();
  loading_ = false;
}

void ConfigPage::bindCheck(QCheckBox* box, std::function<bool(const Configuration&)> get,
                           std::function<void(Configuration&, bool)> set) {
  loaders_.push_back([this, box, get] { box->setChecked(get(configuration_)); });
  connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
    if (!loading_) set(configuration_, on);
  });
}

void ConfigPage::bindText(QLineEdit* edit, std::function<std::string(const Configuration&)> get,
                          std::function<void(Configuration&, const std::string&)> set) {
  loaders_.push_back([this, edit, get] { edit->setText(toQString(get(configuration_))); });
  connect(edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
    if (!loading_) set(configuration_, toStdString(text));
  });
}

void ConfigPage::bindNumber(QSpinBox* box, std::function<int(const Configuration&)> get,
                            std::function<void(Configuration&, int)> set) {
  loaders_.push_back([this, box, get] { box->setValue(get(configuration_)); });
  connect(box, &QSpinBox::valueChanged, this, [this, set](int value) {
    if (!loading_) set(configuration_, value);
  });
}

void ConfigPage::bindChoice(QComboBox* box, std::function<int(const Configuration&)> get,
                            std::function<void(Configuration&, int)> set) {
  loaders_.push_back([this, box, get] { box->setCurrentIndex(box->findData(get(configuration_))); });
  connect(box, &QComboBox::currentIndexChanged, this, [this, box, set](int index) {
    if (!loading_ && index >= 0) set(configuration_, box->itemData(index).toInt());
  });
}

void ConfigPage::addHelpButton(QBoxLayout* layout) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* help = new QPushButton(tr("&Help"));
  help->setObjectName("help");
  connect(help, &QPushButton::clicked, this, [this] { openHelp(dialogs_, kEditorHelpTopic); });
  row->addWidget(help);
  layout->addLayout(row);
}

void openHelp(EditorDialogs& dialogs, std::string_view topic) {
  const QString file = documentationFile();
  if (file.isEmpty() || !QFileInfo::exists(file)) {
    dialogs.tell(
        "The documentation is not installed: there is no share/doc/quillet/README.md beside this "
        "program, and the source tree it was built from is gone.");
    return;
  }
  QUrl url = QUrl::fromLocalFile(file);
  if (!topic.empty()) url.setFragment(toQString(topic));
  if (dialogs.openUrl(url)) return;
  // Without a desktop opener (xdg-open) the documentation is shown by the editor itself.
  QFile document(file);
  if (!document.open(QIODevice::ReadOnly)) {
    dialogs.tell("Cannot read the documentation " + toStdString(file) + ": " +
                 toStdString(document.errorString()));
    return;
  }
  dialogs.showDocument("Quillet Help", document.readAll().toStdString(), topic);
}

void openOrTell(EditorDialogs& dialogs, const QUrl& url, const std::string& what) {
  if (dialogs.openUrl(url)) return;
  dialogs.tell("No program is set up to open " + what +
               " (the desktop's opener, xdg-open, is missing or has no application for it).");
}

}  // namespace quillet
