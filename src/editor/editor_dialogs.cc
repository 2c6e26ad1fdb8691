#include "editor/editor_dialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include "editor/editor_text.h"
#include "editor/help_viewer.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

class QtEditorDialogs : public EditorDialogs {
 public:
  explicit QtEditorDialogs(QWidget* parent) : parent_(parent) {}

  Answer askYesNoCancel(std::string_view question) override {
    switch (QMessageBox::question(parent_, toQString(text::kProductName), toQString(question),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
      case QMessageBox::Yes:
        return Answer::kYes;
      case QMessageBox::No:
        return Answer::kNo;
      default:
        return Answer::kCancel;
    }
  }
  bool askYesNo(std::string_view question) override {
    return QMessageBox::question(parent_, toQString(text::kProductName), toQString(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }
  void tell(std::string_view text) override {
    QMessageBox::information(parent_, toQString(text::kProductName), toQString(text));
  }
  std::string chooseOpenFile(std::string_view title, std::string_view filter) override {
    return QFileDialog::getOpenFileName(parent_, toQString(title), QString(), toQString(filter))
        .toStdString();
  }
  std::vector<std::string> chooseOpenFiles(std::string_view title, std::string_view filter) override {
    std::vector<std::string> files;
    for (const QString& file :
         QFileDialog::getOpenFileNames(parent_, toQString(title), QString(), toQString(filter)))
      files.push_back(file.toStdString());
    return files;
  }
  std::string chooseSaveFile(std::string_view title, std::string_view filter,
                             std::string_view proposal) override {
    // The Qt dialog asks before overwriting and only accepts a name in an existing folder.
    return QFileDialog::getSaveFileName(parent_, toQString(title), toQString(proposal), toQString(filter))
        .toStdString();
  }
  std::string chooseFolder(std::string_view title, std::string_view start) override {
    return QFileDialog::getExistingDirectory(parent_, toQString(title), toQString(start)).toStdString();
  }
  bool runDialog(QDialog& dialog) override { return dialog.exec() == QDialog::Accepted; }
  bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
  void showDocument(std::string_view title, std::string_view markdown, std::string_view anchor) override {
    CHelpViewer viewer(toQString(title), toQString(markdown), toQString(anchor), parent_);
    viewer.exec();
  }

 private:
  QPointer<QWidget> parent_;
};

}  // namespace

std::unique_ptr<EditorDialogs> makeQtEditorDialogs(QWidget* parent) {
  return std::make_unique<QtEditorDialogs>(parent);
}

}  // namespace quillet
