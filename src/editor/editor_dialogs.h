// The editor's seam to everything that waits for the user or leaves the program: message boxes, file and
// folder choosers, modal dialogs and the desktop's "open" of a file or web address. The windows of the editor
// call only this interface; the program uses QtEditorDialogs, and tests substitute scripted answers so that
// nothing modal ever blocks them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QDialog;
class QUrl;
class QWidget;

namespace quillet {

class EditorDialogs {
 public:
  enum class Answer { kYes, kNo, kCancel };

  virtual ~EditorDialogs() = default;

  /// The user's answer to `question` with Yes, No and Cancel.
  virtual Answer askYesNoCancel(std::string_view question) = 0;
  /// True when the user answered Yes to `question` (Yes or No).
  virtual bool askYesNo(std::string_view question) = 0;
  /// Shows `text` until the user acknowledges it.
  virtual void tell(std::string_view text) = 0;
  /// An existing file chosen by the user, or empty when cancelled.
  virtual std::string chooseOpenFile(std::string_view title, std::string_view filter) = 0;
  /// Existing files chosen by the user (several at once allowed), in the order given; empty when cancelled.
  virtual std::vector<std::string> chooseOpenFiles(std::string_view title, std::string_view filter) = 0;
  /// A file name to write, proposed as `proposal`; the user confirmed overwriting an existing file. Empty
  /// when cancelled.
  virtual std::string chooseSaveFile(std::string_view title, std::string_view filter,
                                     std::string_view proposal) = 0;
  /// An existing folder chosen by the user, or empty when cancelled.
  virtual std::string chooseFolder(std::string_view title, std::string_view start) = 0;
  /// Runs `dialog` modally; true when it was accepted.
  virtual bool runDialog(QDialog& dialog) = 0;
  /// Asks the desktop to open `url` (a file in its application, a folder, a web address); false when
  /// nothing could open it (no desktop opener such as xdg-open).
  virtual bool openUrl(const QUrl& url) = 0;
  /// Shows the Markdown document `markdown` in a window of the editor, scrolled to the section `anchor`
  /// (a heading's anchor name; empty for the start), until the user closes it.
  virtual void showDocument(std::string_view title, std::string_view markdown, std::string_view anchor) = 0;
};

/// The dialogs of the desktop, owned by `parent`'s window for placement.
std::unique_ptr<EditorDialogs> makeQtEditorDialogs(QWidget* parent);

}  // namespace quillet
