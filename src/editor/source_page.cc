#include "editor/source_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "common/file_services.h"
#include "editor/drop_tree.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_text.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

// True when the entry names something that exists: the file itself, or files matching its pattern.
bool entryFindsFiles(const SourceEntry& entry) {
  const std::string path = Configuration::expandEnvironment(entry.path);
  std::string found;
  if (findOnDisk(path, found)) return true;
  std::vector<std::string> files;
  return entry.includeSubfolders ? expandPatternInSubfolders(path, files) : expandPattern(path, files, true);
}

}  // namespace

CSourceEditDialog::CSourceEditDialog(const SourceEntry& entry, EditorDialogs& dialogs, QWidget* parent)
    : ItemDialog("Source File Edit", dialogs, parent) {
  path_ = addLineEdit("Source file name or path", "path");
  path_->setPlaceholderText("c:\\project\\*.cpp");
  auto* browse = new QPushButton(tr("&Browse ..."));
  browse->setObjectName("browse");
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(browse);
  body()->addLayout(row);
  subfolders_ = new QCheckBox(tr("Include &subfolders"));
  subfolders_->setObjectName("subfolders");
  body()->addWidget(subfolders_);
  // The configuration has no setting behind this choice, so it is shown but cannot be changed.
  auto* sources_only = new QCheckBox(tr("Source files only, no header files."));
  sources_only->setEnabled(false);
  body()->addWidget(sources_only);

  path_->setText(toQString(entry.path));
  subfolders_->setChecked(entry.includeSubfolders);
  connect(browse, &QPushButton::clicked, this, [this] {
    const std::string file = this->dialogs().chooseOpenFile("Source file", text::kAnyFileFilter);
    if (!file.empty()) path_->setText(toQString(file));
  });
}

SourceEntry CSourceEditDialog::entry() const {
  return {toStdString(path_->text().trimmed()), subfolders_->isChecked()};
}

bool CSourceEditDialog::validate() {
  const SourceEntry chosen = entry();
  if (chosen.path.empty()) {
    dialogs().tell(text::kNameRequired);
    return false;
  }
  if (entryFindsFiles(chosen)) return true;
  return dialogs().askYesNo(formatMessage(text::kSourceNotFound, {chosen.path}));
}

CSourcePage::CSourcePage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  list_ = new DropTree([this](const QVariant& dragged, const QVariant& target, DropTree::Place place) {
    const size_t count = this->configuration().sourceEntries().size();
    size_t to = count;
    if (target.isValid()) to = target.toULongLong() + (place == DropTree::Place::kBelow ? 1 : 0);
    moveEntry(dragged.toULongLong(), to);
  });
  list_->setObjectName("sources");
  list_->setColumnCount(2);
  list_->setHeaderLabels({tr("Source Code"), tr("Subfolders")});
  list_->setRootIsDecorated(false);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

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
  addHelpButton(layout);

  connect(add, &QPushButton::clicked, this, [this] { addEntry(); });
  connect(edit_, &QPushButton::clicked, this, [this] { editEntry(); });
  connect(delete_, &QPushButton::clicked, this, [this] { deleteEntry(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { editEntry(); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
}

void CSourcePage::reloadLists() {
  const size_t keep = selected();
  list_->clear();
  const std::vector<SourceEntry>& entries = configuration().sourceEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, toQString(entries[i].path));
    item->setText(1, entries[i].includeSubfolders ? tr("yes") : QString());
    item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(i));
    item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);  // entries are dropped between, never into
  }
  if (keep < entries.size()) select(keep);
  updateButtons();
}

void CSourcePage::addEntry() {
  CSourceEditDialog dialog(SourceEntry{}, dialogs(), this);
  if (!dialogs().runDialog(dialog)) return;
  configuration().mutableSourceEntries().push_back(dialog.entry());
  reload();
  select(configuration().sourceEntries().size() - 1);
}

void CSourcePage::editEntry() {
  const size_t index = selected();
  if (index >= configuration().sourceEntries().size()) return;
  CSourceEditDialog dialog(configuration().sourceEntries()[index], dialogs(), this);
  if (!dialogs().runDialog(dialog)) return;
  configuration().mutableSourceEntries()[index] = dialog.entry();
  reload();
  select(index);
}

void CSourcePage::deleteEntry() {
  const size_t index = selected();
  std::vector<SourceEntry>& entries = configuration().mutableSourceEntries();
  if (index >= entries.size()) return;
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  reload();
  if (!entries.empty()) select(index < entries.size() ? index : entries.size() - 1);
}

void CSourcePage::moveEntry(size_t from, size_t to) {
  const size_t count = configuration().sourceEntries().size();
  if (from >= count || to > count || to == from || to == from + 1) return;
  std::vector<SourceEntry>& entries = configuration().mutableSourceEntries();
  SourceEntry moving = std::move(entries[from]);
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(from));
  if (to > from) --to;
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
  reload();
  select(to);
}

void CSourcePage::select(size_t index) {
  if (index < static_cast<size_t>(list_->topLevelItemCount()))
    list_->setCurrentItem(list_->topLevelItem(static_cast<int>(index)));
}

size_t CSourcePage::selected() const {
  const QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr || !item->isSelected()) return configuration().sourceEntries().size();
  return item->data(0, Qt::UserRole).toULongLong();
}

void CSourcePage::updateButtons() {
  const bool any = list_->currentItem() != nullptr && list_->currentItem()->isSelected();
  edit_->setEnabled(any);
  delete_->setEnabled(any);
}

}  // namespace quillet
