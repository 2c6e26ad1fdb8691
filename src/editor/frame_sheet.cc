#include "editor/frame_sheet.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QTabWidget>
#include <QUrl>
#include <filesystem>

#include "app/batch_run.h"
#include "app/project_setup.h"
#include "config/configuration_io.h"
#include "config/settings_file.h"
#include "editor/comment_page.h"
#include "editor/config_page.h"
#include "editor/document_title.h"
#include "editor/editor_text.h"
#include "editor/generate_progress.h"
#include "editor/html_option_page.h"
#include "editor/layout_page.h"
#include "editor/metric_page.h"
#include "editor/options_page.h"
#include "editor/preproc_page.h"
#include "editor/qt_text.h"
#include "editor/source_page.h"
#include "import/dev_studio_import.h"

namespace quillet {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWebSite = "https://example.org/quillet/";

std::string untitledPath() {
  return std::string(text::kUntitled) + std::string(text::kConfigurationExtension);
}

std::string absolutePath(const std::string& path) {
  std::error_code error;
  const fs::path full = fs::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

// Relative paths in a configuration are relative to its folder, so the process works there.
void enterFolderOf(const std::string& path) {
  std::error_code error;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::current_path(folder, error);
}

// A label for a menu entry, in which "&" stands for itself.
QString menuText(const std::string& text) {
  return toQString(text).replace('&', "&&");
}

}  // namespace

CFrameSheet::CFrameSheet(std::unique_ptr<EditorDialogs> dialogs, std::string settings_path)
    : dialogs_(dialogs ? std::move(dialogs) : makeQtEditorDialogs(this)),
      settingsPath_(settings_path.empty() ? SettingsFile::userSettingsPath() : std::move(settings_path)),
      path_(untitledPath()) {
  pages_ = new QTabWidget;
  pages_->setObjectName("pages");
  EditorDialogs& d = *dialogs_;
  const std::pair<ConfigPage*, const char*> pages[] = {
      {new CSourcePage(configuration_, d), "Sources"},
      {new CPreProcPage(configuration_, d), "Preprocessing"},
      {new CLayoutPage(configuration_, d), "Arrange"},
      {new CHTMLOptionPage(configuration_, d), "Style"},
      {new COptionsPage(configuration_, d), "Options"},
      {new CCommentPage(configuration_, d), "Comment Filter"},
      {new CMetricpage(configuration_, d), "Metrics"},
  };
  for (const auto& [page, title] : pages) {
    pages_->addTab(page, tr(title));
    pageList_.push_back(page);
  }
  setCentralWidget(pages_);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    // Leaving a page takes its last entry over; the page shown next reads what other pages changed.
    if (shownPage_ >= 0 && shownPage_ < static_cast<int>(pageList_.size())) pageList_[shownPage_]->commit();
    shownPage_ = index;
    if (index >= 0) pageList_[index]->reload();
  });

  buildMenus();
  recent_.load(settingsPath_);
  rebuildRecentMenu();
  reloadPages();
  refreshTitle();
  resize(720, 560);
}

CFrameSheet::~CFrameSheet() = default;

void CFrameSheet::buildMenus() {
  fileMenu_ = menuBar()->addMenu(tr("&File"));
  fileMenu_->addAction(tr("&New Configuration"), this, [this] { newConfiguration(); });
  fileMenu_->addAction(tr("&Open Configuration..."), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                       [this] { openConfiguration(); });
  fileMenu_->addAction(tr("&Save Configuration"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                       [this] { save(); });
  fileMenu_->addAction(tr("Save Configuration &As ..."), this, [this] { saveAs(); });
  fileMenu_->addSeparator();
  fileMenu_->addAction(tr("&Import Project ..."), this, [this] { importProject(); });
  fileMenu_->addAction(tr("&Generate Documentation..."), QKeySequence(Qt::CTRL | Qt::Key_G), this,
                       [this] { generate(); });
  fileMenu_->addSeparator();
  exit_ = fileMenu_->addAction(tr("E&xit"), this, [this] { close(); });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&Contents"), this, [this] { openHelp(*dialogs_, ""); });
  help->addAction(tr("&Tutorial"), this, [this] { openHelp(*dialogs_, kEditorHelpTopic); });
  help->addAction(tr("&Web Site ..."), this, [this] { openOrTell(*dialogs_, QUrl(kWebSite), kWebSite); });
  help->addAction(tr("&About ..."), this, [this] { dialogs_->tell(bannerText()); });
}

void CFrameSheet::rebuildRecentMenu() {
  for (QAction* action : recentActions_) {
    fileMenu_->removeAction(action);
    delete action;
  }
  recentActions_.clear();
  if (recent_.entries().empty()) return;
  recentActions_.push_back(fileMenu_->insertSeparator(exit_));
  for (size_t i = 0; i < recent_.shownCount(); ++i) {
    auto* action = new QAction(QString("&%1 %2").arg(i + 1).arg(menuText(recent_.entries()[i])), fileMenu_);
    connect(action, &QAction::triggered, this, [this, i] { openRecent(i); });
    fileMenu_->insertAction(exit_, action);
    recentActions_.push_back(action);
  }
}

std::vector<std::string> CFrameSheet::recentMenuLabels() const {
  std::vector<std::string> labels;
  for (const QAction* action : recentActions_)
    if (!action->isSeparator()) labels.push_back(toStdString(action->text()));
  return labels;
}

void CFrameSheet::reloadPages() {
  for (ConfigPage* page : pageList_) page->reload();
}

bool CFrameSheet::commitPages() {
  bool all = true;
  for (ConfigPage* page : pageList_) all = page->commit() && all;
  return all;
}

void CFrameSheet::refreshTitle() {
  setWindowTitle(toQString(windowTitleFor(path_)));
}

bool CFrameSheet::promptSaveChanges() {
  if (!commitPages()) return false;
  if (!configuration_.modified()) return true;
  switch (dialogs_->askYesNoCancel(text::kSaveChanges)) {
    case EditorDialogs::Answer::kYes:
      return save();
    case EditorDialogs::Answer::kNo:
      return true;
    case EditorDialogs::Answer::kCancel:
      return false;
  }
  return false;
}

void CFrameSheet::startNew() {
  path_ = untitledPath();
  untitled_ = true;
  writtenAsCurrentVersion_ = false;
  configuration_.reset();
  reloadPages();
  refreshTitle();
}

bool CFrameSheet::newConfiguration() {
  if (!promptSaveChanges()) return false;
  startNew();
  return true;
}

bool CFrameSheet::openConfiguration() {
  if (!promptSaveChanges()) return false;
  const std::string file = dialogs_->chooseOpenFile("Open Configuration", text::kConfigurationFilter);
  return !file.empty() && openFile(file);
}

bool CFrameSheet::openFile(const std::string& path) {
  const std::string full = absolutePath(path);
  const ConfigurationLoad load = loadConfigurationFile(full, configuration_);
  if (!load.ok) {
    dialogs_->tell(load.message);  // names the file and says why it cannot be used
    startNew();
    return false;
  }
  if (!load.warnings.empty()) {
    std::string text = "Opened " + full + ", with warnings:";
    for (const std::string& warning : load.warnings) text += "\n" + warning;
    dialogs_->tell(text);
  }
  path_ = full;
  untitled_ = false;
  writtenAsCurrentVersion_ = false;
  remember(full);
  enterFolderOf(full);
  reloadPages();
  refreshTitle();
  return true;
}

bool CFrameSheet::openRecent(size_t index) {
  if (index >= recent_.entries().size()) return false;
  const std::string path = recent_.entries()[index];
  if (!fs::exists(path)) {
    dialogs_->tell(formatMessage(text::kRecentFileMissing, {path}));
    recent_.remove(index);
    rebuildRecentMenu();
    return false;
  }
  return promptSaveChanges() && openFile(path);
}

bool CFrameSheet::save() {
  if (!commitPages()) return false;
  if (untitled_) return saveAs();
  if (configuration_.isOlderVersion() && !writtenAsCurrentVersion_ &&
      !dialogs_->askYesNo(text::kOlderVersionSave))
    return false;
  if (isReadOnlyFile(path_)) return saveAs();
  if (!writeTo(path_)) return false;
  refreshTitle();
  return true;
}

bool CFrameSheet::saveAs() {
  if (!commitPages()) return false;
  const std::string proposal = configuration_.documentName() + std::string(text::kConfigurationExtension);
  std::string file = dialogs_->chooseSaveFile("Save Configuration As", text::kConfigurationFilter, proposal);
  if (file.empty()) return false;
  if (fs::path(file).extension().empty()) file += text::kConfigurationExtension;
  file = absolutePath(file);
  if (!writeTo(file)) return false;
  path_ = file;
  untitled_ = false;
  remember(file);
  refreshTitle();
  return true;
}

bool CFrameSheet::writeTo(const std::string& path) {
  lastSaveFailed_ = false;
  std::string reason;
  if (!saveConfigurationFile(path, configuration_, reason)) {
    // The changes are still unsaved.
    configuration_.setModified(true);
    lastSaveFailed_ = true;
    dialogs_->tell(formatMessage(text::kWriteError, {path}) + "\n" + reason);
    return false;
  }
  writtenAsCurrentVersion_ = true;
  enterFolderOf(path);
  return true;
}

void CFrameSheet::remember(const std::string& path) {
  recent_.add(path);
  rebuildRecentMenu();
}

void CFrameSheet::importProject() {
  commitPages();
  const std::string file = dialogs_->chooseOpenFile("Import Project", text::kProjectFilter);
  if (file.empty()) return;
  if (fs::path(file).extension() == ".json") {
    // A compilation database, as -prj takes one.
    std::vector<std::string> notes;
    std::string error;
    if (!mergeCompileCommands(configuration_, file, notes, error)) {
      dialogs_->tell(error);
    } else if (!notes.empty()) {
      std::string text;
      for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
      dialogs_->tell(text);
    }
  } else if (!importDevStudioFile(configuration_, file)) {
    dialogs_->tell(formatMessage(text::kImportFailed, {file}));
  }
  configuration_.setModified(true);
  reloadPages();
}

void CFrameSheet::generate() {
  if (!commitPages()) return;
  CGenerateProgress progress(configuration_, *dialogs_, this);
  dialogs_->runDialog(progress);
}

void CFrameSheet::closeEvent(QCloseEvent* event) {
  if (!promptSaveChanges()) {
    event->ignore();
    return;
  }
  recent_.save(settingsPath_);
  event->accept();
}

}  // namespace quillet
