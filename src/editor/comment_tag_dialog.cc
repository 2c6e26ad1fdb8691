#include "editor/comment_tag_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/pattern.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_text.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

// Adds a radio button for `value` to `group` and to `layout`.
QRadioButton* addChoice(QButtonGroup* group, QVBoxLayout* layout, const QString& label, int value) {
  auto* button = new QRadioButton(label);
  button->setObjectName(QString("choice%1_%2").arg(group->objectName()).arg(value));
  group->addButton(button, value);
  layout->addWidget(button);
  return button;
}

}  // namespace

CCommentTagDialog::CCommentTagDialog(const CommentTag& tag, EditorDialogs& dialogs, QWidget* parent)
    : ItemDialog("Comment Tag Properties", dialogs, parent), tag_(tag) {
  name_ = addLineEdit("Tag name (regular expressions are allowed)", "tagName");

  auto* operations = new QGroupBox(tr("Comment tag operations"));
  auto* operation_layout = new QVBoxLayout(operations);
  operation_ = new QButtonGroup(this);
  operation_->setObjectName("operation");
  addChoice(operation_, operation_layout, tr("Do &not remove tag from comments"), CommentTag::kKeepTag);
  addChoice(operation_, operation_layout, tr("Remove tag only when &empty"), CommentTag::kRemoveWhenEmpty);
  addChoice(operation_, operation_layout, tr("Always &remove tag from comments"), CommentTag::kRemoveTag);
  addChoice(operation_, operation_layout, tr("Always replace tag with text"), CommentTag::kReplaceTag);
  replacement_ = new QLineEdit;
  replacement_->setObjectName("replacement");
  operation_layout->addWidget(replacement_);
  body()->addWidget(operations);

  auto* filters = new QGroupBox(tr("Comment tag filter options"));
  auto* filter_layout = new QVBoxLayout(filters);
  removeAfter_ = new QCheckBox(tr("Remove text &after the tag"));
  removeBefore_ = new QCheckBox(tr("Remove text &before the tag"));
  paragraphBreak_ = new QCheckBox(tr("Force &paragraph break before the tag"));
  removeAfter_->setObjectName("removeTextAfter");
  removeBefore_->setObjectName("removeTextBefore");
  paragraphBreak_->setObjectName("paragraphBreakBefore");
  filter_layout->addWidget(removeAfter_);
  filter_layout->addWidget(removeBefore_);
  filter_layout->addWidget(paragraphBreak_);
  body()->addWidget(filters);

  auto* formatting = new QGroupBox(tr("Text Formatting"));
  auto* formatting_layout = new QVBoxLayout(formatting);
  formatting_ = new QButtonGroup(this);
  formatting_->setObjectName("formatting");
  addChoice(formatting_, formatting_layout, tr("Automatically format text"), CommentTag::kAutoFormat);
  addChoice(formatting_, formatting_layout, tr("Preserve only paragraph breaks in the text"),
            CommentTag::kPreserveParagraphs);
  addChoice(formatting_, formatting_layout, tr("Preserve all &formatting in the text"),
            CommentTag::kPreserveAll);
  body()->addWidget(formatting);

  name_->setText(toQString(tag.tagName()));
  if (QAbstractButton* chosen = operation_->button(tag.operation())) chosen->setChecked(true);
  replacement_->setText(tag.operation() == CommentTag::kReplaceTag ? toQString(tag.replacement())
                                                                   : QString());
  replacement_->setEnabled(tag.operation() == CommentTag::kReplaceTag);
  removeAfter_->setChecked(tag.removeTextAfter());
  removeBefore_->setChecked(tag.removeTextBefore());
  paragraphBreak_->setChecked(tag.paragraphBreakBefore());
  if (QAbstractButton* chosen = formatting_->button(tag.formatting())) chosen->setChecked(true);
  connect(operation_, &QButtonGroup::idClicked, this, [this](int id) { operationChosen(id); });
}

void CCommentTagDialog::operationChosen(int operation) {
  const bool replace = operation == CommentTag::kReplaceTag;
  if (!replace) replacement_->clear();
  replacement_->setEnabled(replace);
}

CommentTag CCommentTagDialog::tag() const {
  CommentTag tag = tag_;
  tag.setTagName(toStdString(name_->text()));
  // A value no button stands for (from a damaged file) is kept as it was.
  if (operation_->checkedId() != -1) tag.setOperation(operation_->checkedId());
  if (tag.operation() == CommentTag::kReplaceTag) tag.setReplacement(toStdString(replacement_->text()));
  tag.setRemoveTextAfter(removeAfter_->isChecked());
  tag.setRemoveTextBefore(removeBefore_->isChecked());
  tag.setParagraphBreakBefore(paragraphBreak_->isChecked());
  if (formatting_->checkedId() != -1) tag.setFormatting(formatting_->checkedId());
  return tag;
}

bool CCommentTagDialog::validate() {
  if (Pattern(toStdString(name_->text())).ok()) return true;
  dialogs().tell(text::kIllegalTagName);
  return false;
}

}  // namespace quillet
