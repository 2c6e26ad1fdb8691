#include "editor/item_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editor/editor_dialogs.h"
#include "editor/qt_text.h"

namespace quillet {

ItemDialog::ItemDialog(std::string_view title, EditorDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
  setWindowTitle(toQString(title));
  auto* outer = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  outer->addLayout(body_);
  outer->addStretch();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { tryAccept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  outer->addWidget(buttons);
  setMinimumWidth(440);
}

bool ItemDialog::tryAccept() {
  if (!validate()) return false;
  accept();
  return true;
}

QLineEdit* ItemDialog::addLineEdit(std::string_view label, const char* name) {
  auto* caption = new QLabel(toQString(label));
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  caption->setBuddy(edit);
  body_->addWidget(caption);
  body_->addWidget(edit);
  return edit;
}

}  // namespace quillet
