#include "editor/comment_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/configuration.h"
#include "editor/comment_tag_dialog.h"
#include "editor/editor_dialogs.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

// The choices of the duplicate-comment drop-down in the order shown, with the value each one stores.
struct CommentChoice {
  const char* label;
  int value;
};
constexpr CommentChoice kCommentChoices[] = {
    {"Concatenate Comments", 5},
    {"Use Only Definitions Comments", 4},
    {"Use Only Declarations Comments", 3},
    {"Prefer Comments In Definitions", 2},
    {"Prefer Comments In Declarations", 1},
    {"Use Largest Comments", 0},
};

}  // namespace

CCommentPage::CCommentPage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Comment tags")));
  list_ = new QListWidget;
  list_->setObjectName("tags");
  auto* buttons = new QHBoxLayout;
  auto* add = new QPushButton(tr("&Add ..."));
  edit_ = new QPushButton(tr("&Edit ..."));
  delete_ = new QPushButton(tr("&Delete"));
  add->setObjectName("add");
  edit_->setObjectName("edit");
  delete_->setObjectName("delete");
  buttons->addWidget(add);
  buttons->addWidget(edit_);
  buttons->addWidget(delete_);
  buttons->addStretch();
  layout->addWidget(list_);
  layout->addLayout(buttons);

  auto* form = new QFormLayout;
  auto* choice = new QComboBox;
  choice->setObjectName("duplicateCommentChoice");
  for (const CommentChoice& entry : kCommentChoices) choice->addItem(tr(entry.label), entry.value);
  form->addRow(tr("Duplicate function comment selection"), choice);
  layout->addLayout(form);

  struct Option {
    const char* label;
    const char* name;
    bool (Configuration::*get)() const;
    void (Configuration::*set)(bool);
  };
  const Option options[] = {
      {"Automatically format comments", "autoFormat", &Configuration::autoFormat,
       &Configuration::setAutoFormat},
      {"Expect comments before function prototypes", "commentsBeforePrototypes",
       &Configuration::commentsBeforePrototypes, &Configuration::setCommentsBeforePrototypes},
      {"Extract function parameter comments", "parameterComments", &Configuration::parameterComments,
       &Configuration::setParameterComments},
      {"Extract comments that are after the prototype and before body.", "commentsAfterPrototype",
       &Configuration::commentsAfterPrototype, &Configuration::setCommentsAfterPrototype},
      {"Extract comments that are part of an expanded macro.", "macroComments", &Configuration::macroComments,
       &Configuration::setMacroComments},
      {"Automatically add capitalization and punctuation to comments.", "autoCapitalize",
       &Configuration::autoCapitalize, &Configuration::setAutoCapitalize},
  };
  for (const Option& option : options) {
    auto* box = new QCheckBox(tr(option.label));
    box->setObjectName(option.name);
    layout->addWidget(box);
    bindCheck(box, option.get, option.set);
  }
  addHelpButton(layout);

  bindChoice(choice, &Configuration::duplicateCommentChoice, &Configuration::setDuplicateCommentChoice);
  connect(add, &QPushButton::clicked, this, [this] { addTag(); });
  connect(edit_, &QPushButton::clicked, this, [this] { editTag(); });
  connect(delete_, &QPushButton::clicked, this, [this] { deleteTag(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { editTag(); });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { updateButtons(); });
}

void CCommentPage::updateButtons() {
  // Edit and Delete act on the selected tag, so they wait for one.
  const QListWidgetItem* item = list_->currentItem();
  const bool selected = item != nullptr && item->isSelected();
  edit_->setEnabled(selected);
  delete_->setEnabled(selected);
}

void CCommentPage::reloadLists() {
  const int keep = list_->currentRow();
  list_->clear();
  for (const CommentTag& tag : configuration().commentTags()) list_->addItem(toQString(tag.tagName()));
  if (keep >= 0 && keep < list_->count()) list_->setCurrentRow(keep);
  updateButtons();
}

void CCommentPage::addTag() {
  CCommentTagDialog dialog(CommentTag{}, dialogs(), this);
  if (!dialogs().runDialog(dialog)) return;
  configuration().appendCommentTag(dialog.tag());
  reload();
  select(configuration().commentTagCount() - 1);
}

void CCommentPage::editTag() {
  const size_t index = selected();
  if (index >= configuration().commentTagCount()) return;
  CCommentTagDialog dialog(configuration().commentTag(index), dialogs(), this);
  if (!dialogs().runDialog(dialog)) return;
  configuration().replaceCommentTag(index, dialog.tag());
  reload();
  select(index);
}

void CCommentPage::deleteTag() {
  const size_t index = selected();
  if (index >= configuration().commentTagCount()) return;
  configuration().removeCommentTag(index);
  reload();
  const size_t count = configuration().commentTagCount();
  if (count > 0) select(index < count ? index : count - 1);
}

void CCommentPage::select(size_t index) {
  if (index < static_cast<size_t>(list_->count())) list_->setCurrentRow(static_cast<int>(index));
}

size_t CCommentPage::selected() const {
  const QListWidgetItem* item = list_->currentItem();
  if (item == nullptr || !item->isSelected()) return configuration().commentTagCount();
  return static_cast<size_t>(list_->row(item));
}

}  // namespace quillet
