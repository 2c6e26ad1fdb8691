// The main window of the configuration editor: one configuration at a time, edited on seven pages (tabs of
// one property sheet), with the File menu (new, open, save, save as, import a Developer Studio project,
// generate, recent files, exit) and the Help menu. It asks before changes would be lost, keeps the recent
// file list in the user's settings file, moves the process's current folder to the configuration's folder,
// and opens the progress window for a generation run.
#pragma once

#include <QMainWindow>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "editor/editor_dialogs.h"
#include "editor/recent_files.h"

class QAction;
class QMenu;
class QTabWidget;

namespace quillet {

class ConfigPage;

class CFrameSheet : public QMainWindow {
 public:
  /// A window over a new configuration. `dialogs` answers for the user (the desktop's dialogs when null);
  /// the recent-file list is read from and written to the settings file at `settings_path`.
  explicit CFrameSheet(std::unique_ptr<EditorDialogs> dialogs = nullptr, std::string settings_path = {});
  ~CFrameSheet() override;

  /// The configuration being edited.
  Configuration& configuration() { return configuration_; }
  /// The configuration file's full path, or "Untitled.qlc" for a configuration never saved.
  const std::string& filePath() const { return path_; }
  /// The recently used files, most recent first.
  const RecentFileList& recentFiles() const { return recent_; }
  /// The texts of the File menu's recent-file entries, in menu order.
  std::vector<std::string> recentMenuLabels() const;
  /// The pages in order: Sources, Preprocessing, Arrange, Style, Options, Comment Filter, Metrics.
  QTabWidget* pages() { return pages_; }
  /// Page `index` in the same order; null past the last.
  ConfigPage* page(size_t index) { return index < pageList_.size() ? pageList_[index] : nullptr; }

  /// Asks to save unsaved changes (Yes, No, Cancel); false when the command asking must stop.
  bool promptSaveChanges();
  /// New: after the prompt, a configuration with every default, named "Untitled"; false when stopped.
  bool newConfiguration();
  /// Open: after the prompt, a configuration file chosen by the user; false when stopped or unreadable.
  bool openConfiguration();
  /// Reads the configuration file `path` (without the prompt); on failure tells why and starts a new one.
  bool openFile(const std::string& path);
  /// Opens recent entry `index` after the prompt; an entry whose file is gone is removed after a message.
  bool openRecent(size_t index);
  /// Save: writes the file (Save As for a new or read-only file); false when stopped or failed.
  bool save();
  /// Save As: writes to a file chosen by the user; false when stopped or failed.
  bool saveAs();
  /// Imports a Developer Studio project or workspace chosen by the user into the configuration.
  void importProject();
  /// Opens the progress window, which runs a generation at once.
  void generate();
  /// Shows the configuration again on every page.
  void reloadPages();
  /// Takes over entries still being edited on every page; false when a page refused one.
  bool commitPages();
  /// True when the last save failed.
  bool lastSaveFailed() const { return lastSaveFailed_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void rebuildRecentMenu();
  void startNew();
  bool writeTo(const std::string& path);
  void remember(const std::string& path);
  void refreshTitle();

  Configuration configuration_;
  std::unique_ptr<EditorDialogs> dialogs_;
  std::string settingsPath_;
  std::string path_;
  bool untitled_ = true;
  bool writtenAsCurrentVersion_ = false;  // saved since it was read, so no longer in an older version
  bool lastSaveFailed_ = false;
  RecentFileList recent_;
  QTabWidget* pages_;
  std::vector<ConfigPage*> pageList_;
  int shownPage_ = 0;
  QMenu* fileMenu_ = nullptr;
  QAction* exit_ = nullptr;
  std::vector<QAction*> recentActions_;
};

}  // namespace quillet
