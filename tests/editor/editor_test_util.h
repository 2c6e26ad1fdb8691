// Small helpers shared by the editor tests: a fixture that restores the current folder (the editor moves it
// to a configuration's folder), finding a page's controls by their object names, waiting for a window to
// take what a worker sends, reading what every control shows, and dropping rows as a finished drag does.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <map>
#include <ostream>
#include <thread>

#include "editor/drop_tree.h"

/// Lets failed expectations show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace quillet {

class EditorTest : public testing::Test {
 protected:
  void SetUp() override { folder_ = std::filesystem::current_path(); }
  void TearDown() override { std::filesystem::current_path(folder_); }

 private:
  std::filesystem::path folder_;
};

/// The child of `parent` of type T called `name`; fails the test when there is none.
template <typename T>
T* control(const QObject* parent, const char* name) {
  T* found = parent->findChild<T*>(name);
  EXPECT_NE(found, nullptr) << "no control " << name;
  return found;
}

/// What every named control below `parent` shows, by object name: "on" or "off" for check boxes, the text
/// of line edits, spin boxes and combo boxes, and the number of rows of lists and trees (at every level).
inline std::map<QString, QString> shownValues(const QWidget* parent) {
  std::map<QString, QString> shown;
  for (QCheckBox* box : parent->findChildren<QCheckBox*>())
    shown[box->objectName()] = box->isChecked() ? "on" : "off";
  for (QLineEdit* edit : parent->findChildren<QLineEdit*>()) shown[edit->objectName()] = edit->text();
  for (QSpinBox* box : parent->findChildren<QSpinBox*>()) shown[box->objectName()] = box->text();
  for (QComboBox* box : parent->findChildren<QComboBox*>()) shown[box->objectName()] = box->currentText();
  for (QListWidget* list : parent->findChildren<QListWidget*>())
    shown[list->objectName()] = QString::number(list->count());
  for (QTreeWidget* tree : parent->findChildren<QTreeWidget*>()) {
    int rows = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) ++rows;
    shown[tree->objectName()] = QString::number(rows);
  }
  shown.erase(QString());
  return shown;
}

/// Lets the application take its events until `done` holds; false when half a minute passed first.
template <typename Done>
bool waitUntil(Done done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  QApplication::processEvents();
  return true;
}

/// Drops `dragged` on `target` of `tree` as a mouse drag would end: in the middle of the target's row, or
/// at its top edge when `above`.
inline void dropOnto(DropTree* tree, QTreeWidgetItem* dragged, QTreeWidgetItem* target, bool above = false) {
  QApplication::processEvents();  // lets a tree just shown lay out its rows
  tree->setCurrentItem(dragged);
  const QRect row = tree->visualItemRect(target);
  tree->dropCurrentAt(above ? QPoint(row.center().x(), row.top() + 1) : row.center());
}

}  // namespace quillet
