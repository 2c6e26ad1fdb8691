// Editor dialogs for tests: answers come from queues filled by the test, modal dialogs are handed to a
// callback instead of being run, and everything the user would have been told or shown is recorded. Also
// the fixture of a main window over them.
#pragma once

#include <QDialog>
#include <QUrl>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_dialogs.h"
#include "editor/frame_sheet.h"
#include "editor_test_util.h"
#include "support/temp_tree.h"

namespace quillet {

class ScriptedDialogs : public EditorDialogs {
 public:
  Answer askYesNoCancel(std::string_view question) override {
    questions.emplace_back(question);
    return take(answers, Answer::kCancel);
  }
  bool askYesNo(std::string_view question) override {
    questions.emplace_back(question);
    return take(answers, Answer::kNo) == Answer::kYes;
  }
  void tell(std::string_view text) override { told.emplace_back(text); }
  std::string chooseOpenFile(std::string_view, std::string_view filter) override {
    filters.emplace_back(filter);
    return take(files, std::string());
  }
  std::vector<std::string> chooseOpenFiles(std::string_view, std::string_view filter) override {
    filters.emplace_back(filter);
    return take(fileLists, std::vector<std::string>());
  }
  std::string chooseSaveFile(std::string_view, std::string_view filter, std::string_view proposal) override {
    filters.emplace_back(filter);
    proposals.emplace_back(proposal);
    return take(files, std::string());
  }
  std::string chooseFolder(std::string_view, std::string_view) override { return take(files, std::string()); }
  bool runDialog(QDialog& dialog) override {
    ++dialogsRun;
    if (!onDialog) return false;
    onDialog(dialog);
    return dialog.result() == QDialog::Accepted;
  }
  bool openUrl(const QUrl& url) override {
    opened.push_back(url);
    return desktopOpens;
  }
  void showDocument(std::string_view title, std::string_view markdown, std::string_view anchor) override {
    shown.push_back({std::string(title), std::string(markdown), std::string(anchor)});
  }

  /// The last message told, or empty.
  std::string lastTold() const { return told.empty() ? std::string() : told.back(); }

  std::deque<Answer> answers;  // for both kinds of question; Cancel (or No) when empty
  std::deque<std::string> files;
  std::deque<std::vector<std::string>> fileLists;
  std::function<void(QDialog&)> onDialog;  // fills the dialog and presses OK or Cancel; unset: Cancel

  std::vector<std::string> questions;
  std::vector<std::string> told;
  std::vector<std::string> filters;
  std::vector<std::string> proposals;
  std::vector<QUrl> opened;
  bool desktopOpens = true;  // false: as on a machine without a desktop opener
  struct Document {
    std::string title, markdown, anchor;
  };
  std::vector<Document> shown;
  int dialogsRun = 0;

 private:
  template <typename T>
  static T take(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

// A main window over scripted dialogs, with its settings file in a temporary folder; it closes without
// asking about unsaved changes.
class SheetTest : public EditorTest {
 protected:
  SheetTest()
      : dialogs(*new ScriptedDialogs),
        sheet(std::unique_ptr<EditorDialogs>(&dialogs), tree.path("settings/quillet.ini")) {}
  ~SheetTest() override {
    sheet.configuration().setModified(false);
    sheet.close();
  }

  TempTree tree;
  ScriptedDialogs& dialogs;  // owned by the window
  CFrameSheet sheet;
};

}  // namespace quillet
