// The editor's own window for its documentation, used where the desktop has no program to open it: the
// Markdown text shown read-only, scrolled to the section asked for.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace quillet {

/// The anchor name of a heading, as Markdown renderers make it: lower case, blanks as "-", other
/// punctuation dropped ("The configuration editor" -> "the-configuration-editor").
QString headingAnchor(const QString& heading);

class CHelpViewer : public QDialog {
 public:
  /// Shows `markdown` under `title`, scrolled to the heading whose anchor is `anchor` (the start when empty
  /// or not found).
  CHelpViewer(const QString& title, const QString& markdown, const QString& anchor,
              QWidget* parent = nullptr);

  /// The heading the view was scrolled to, or empty.
  QString shownHeading() const { return shownHeading_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTextBrowser* text_;
  QString shownHeading_;
  int headingPosition_ = -1;
};

}  // namespace quillet
