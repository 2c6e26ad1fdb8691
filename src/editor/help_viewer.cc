#include "editor/help_viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QDialogButtonBox>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace quillet {

QString headingAnchor(const QString& heading) {
  QString anchor;
  for (const QChar c : heading.trimmed().toLower()) {
    if (c.isLetterOrNumber() || c == '-' || c == '_') {
      anchor += c;
    } else if (c.isSpace()) {
      anchor += '-';
    }
  }
  return anchor;
}

CHelpViewer::CHelpViewer(const QString& title, const QString& markdown, const QString& anchor,
                         QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  resize(760, 620);
  auto* layout = new QVBoxLayout(this);
  text_ = new QTextBrowser;
  text_->setObjectName("document");
  text_->setOpenExternalLinks(false);
  text_->setMarkdown(markdown);
  layout->addWidget(text_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  if (anchor.isEmpty()) return;
  for (QTextBlock block = text_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0 || headingAnchor(block.text()) != anchor) continue;
    shownHeading_ = block.text();
    text_->setTextCursor(QTextCursor(block));
    headingPosition_ = block.position();
    break;
  }
}

void CHelpViewer::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (headingPosition_ < 0) return;
  // Once laid out, the heading goes to the top of the view.
  const QTextBlock block = text_->document()->findBlock(headingPosition_);
  const QRectF place = text_->document()->documentLayout()->blockBoundingRect(block);
  text_->verticalScrollBar()->setValue(static_cast<int>(place.top()));
}

}  // namespace quillet
