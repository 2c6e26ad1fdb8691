// The common ground of the main window's pages. A page shows fields of the one configuration the main
// window owns and writes every change straight back to it, so that the configuration is the only state:
// reload() shows the configuration as it stands (after New, Open, Import or a change on another page), and
// commit() takes over an entry the page checks only when the user leaves it. Pages declare their simple
// controls with the bind helpers below; lists and trees reload themselves in reloadLists().
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class QUrl;

namespace quillet {

class Configuration;
class EditorDialogs;

class ConfigPage : public QWidget {
 public:
  ConfigPage(Configuration& configuration, EditorDialogs& dialogs);

  /// Shows the configuration's current values in every control, without changing the configuration.
  void reload();
  /// Takes over any entry still being edited; false when the page refused it (the user was told why).
  virtual bool commit() { return true; }

 protected:
  Configuration& configuration() { return configuration_; }
  const Configuration& configuration() const { return configuration_; }
  EditorDialogs& dialogs() { return dialogs_; }
  /// True while reload() sets the controls, when changes must not be written back.
  bool loading() const { return loading_; }

  /// Shows lists, trees and anything else the bindings do not cover; called by reload().
  virtual void reloadLists() {}

  // Each binding shows the value on reload() and writes the user's changes through the setter.
  void bindCheck(QCheckBox* box, std::function<bool(const Configuration&)> get,
                 std::function<void(Configuration&, bool)> set);
  void bindText(QLineEdit* edit, std::function<std::string(const Configuration&)> get,
                std::function<void(Configuration&, const std::string&)> set);
  void bindNumber(QSpinBox* box, std::function<int(const Configuration&)> get,
                  std::function<void(Configuration&, int)> set);
  /// A drop-down whose entries carry the stored value as their item data.
  void bindChoice(QComboBox* box, std::function<int(const Configuration&)> get,
                  std::function<void(Configuration&, int)> set);

  /// Adds the page's "&Help" button, right-aligned, at the end of `layout`; it opens the documentation of
  /// the editor.
  void addHelpButton(QBoxLayout* layout);

 private:
  Configuration& configuration_;
  EditorDialogs& dialogs_;
  std::vector<std::function<void()>> loaders_;
  bool loading_ = false;
};

/// The section of the bundled documentation that describes the editor.
inline constexpr std::string_view kEditorHelpTopic = "the-configuration-editor";

/// Opens the bundled documentation at `topic` (a section anchor; empty for the start) through the desktop,
/// or, where nothing can open it, in a window of the editor; says so when the documentation is missing.
void openHelp(EditorDialogs& dialogs, std::string_view topic);

/// Opens `url` through the desktop; where nothing can open it, tells the user where `what` is instead.
void openOrTell(EditorDialogs& dialogs, const QUrl& url, const std::string& what);

}  // namespace quillet
