#include "editor/layout_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "config/auto_fill.h"
#include "config/configuration.h"
#include "config/layout_editing.h"
#include "editor/drop_tree.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_text.h"
#include "editor/layout_dialogs.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

LayoutItem* itemOf(const QTreeWidgetItem* node) {
  return node == nullptr ? nullptr : reinterpret_cast<LayoutItem*>(node->data(0, Qt::UserRole).toULongLong());
}

QVariant dataOf(const LayoutItem* item) {
  return QVariant::fromValue<qulonglong>(reinterpret_cast<quintptr>(item));
}

// What the tree shows for an item: chapters by name, other items with their kind.
QString labelOf(const LayoutItem& item) {
  const QString name = toQString(item.name());
  switch (item.kind()) {
    case LayoutItem::kLinkDocument:
      return QObject::tr("Link: %1").arg(name);
    case LayoutItem::kInsertDocument:
      return QObject::tr("Document: %1").arg(name);
    case LayoutItem::kSymbolsByFile:
      return QObject::tr("File: %1").arg(name);
    case LayoutItem::kClassesByName:
      return QObject::tr("Class: %1").arg(name);
    case LayoutItem::kFunctionsByName:
      return QObject::tr("Function: %1").arg(name);
    case LayoutItem::kText:
      return QObject::tr("Text: %1").arg(name);
    default:
      return name;
  }
}

}  // namespace

CLayoutPage::CLayoutPage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  tree_ = new DropTree([this](const QVariant& dragged, const QVariant& target, DropTree::Place place) {
    LayoutItem* item = reinterpret_cast<LayoutItem*>(dragged.toULongLong());
    LayoutItem* onto = reinterpret_cast<LayoutItem*>(target.toULongLong());
    // Dropped on a chapter: into it; beside an item: into that item's chapter; elsewhere: into the root.
    LayoutItem* chapter = nullptr;
    if (onto != nullptr) chapter = place == DropTree::Place::kOn && onto->isChapter() ? onto : onto->parent();
    if (chapter == nullptr) chapter = &root();
    if (item != nullptr) move(*item, *chapter);
  });
  tree_->setObjectName("arrangement");
  tree_->setHeaderLabel(tr("Document organization"));

  auto* buttons = new QHBoxLayout;
  auto* insert = new QPushButton(tr("&Insert >>"));
  insert->setObjectName("insert");
  auto* menu = new QMenu(insert);
  menu->addAction(tr("Insert Text"), this, [this] { this->insert(LayoutItem::kText); });
  menu->addAction(tr("Insert Document"), this, [this] { this->insert(LayoutItem::kInsertDocument); });
  menu->addAction(tr("Insert Symbols By Name"), this, [this] { this->insert(LayoutItem::kClassesByName); });
  menu->addAction(tr("Insert Symbols By File"), this, [this] { this->insert(LayoutItem::kSymbolsByFile); });
  insertChapter_ =
      menu->addAction(tr("Insert Chapter"), this, [this] { this->insert(LayoutItem::kChapter); });
  connect(menu, &QMenu::aboutToShow, this, [this] { insertChapter_->setEnabled(chapterInsertOffered()); });
  insert->setMenu(menu);
  edit_ = new QPushButton(tr("&Edit ..."));
  delete_ = new QPushButton(tr("&Delete"));
  auto* fill = new QPushButton(tr("&Auto Fill ..."));
  edit_->setObjectName("edit");
  delete_->setObjectName("delete");
  fill->setObjectName("autoFill");
  buttons->addWidget(insert);
  buttons->addWidget(edit_);
  buttons->addWidget(delete_);
  buttons->addStretch();
  buttons->addWidget(fill);

  auto* note = new QLabel(toQString(text::kArrangeNote));
  note->setWordWrap(true);
  layout->addWidget(tree_);
  layout->addLayout(buttons);
  layout->addWidget(note);
  addHelpButton(layout);

  connect(edit_, &QPushButton::clicked, this, [this] { editSelected(); });
  connect(delete_, &QPushButton::clicked, this, [this] { deleteSelected(); });
  connect(fill, &QPushButton::clicked, this, [this] { autoFill(); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { editSelected(); });
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
}

void CLayoutPage::reloadLists() {
  const LayoutItem* keep = selectedItem();
  tree_->clear();
  LayoutItem& root = this->root();
  auto* top = new QTreeWidgetItem(tree_);
  top->setText(0, toQString(root.name()));
  top->setData(0, Qt::UserRole, dataOf(&root));
  top->setFlags(top->flags() & ~Qt::ItemIsDragEnabled);  // the root cannot move
  addItems(top, root);
  tree_->expandAll();
  select(keep);
  updateButtons();
}

void CLayoutPage::addItems(QTreeWidgetItem* parent, LayoutItem& item) {
  for (size_t i = 0; i < item.childCount(); ++i) {
    LayoutItem* child = item.child(i);
    auto* node = new QTreeWidgetItem(parent);
    node->setText(0, labelOf(*child));
    node->setData(0, Qt::UserRole, dataOf(child));
    if (!child->isChapter()) node->setFlags(node->flags() & ~Qt::ItemIsDropEnabled);
    addItems(node, *child);
  }
}

void CLayoutPage::select(const LayoutItem* item) {
  if (item == nullptr) return;
  for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
    if (itemOf(*it) == item) {
      tree_->setCurrentItem(*it);
      return;
    }
  }
}

LayoutItem* CLayoutPage::selectedItem() const {
  const QTreeWidgetItem* node = tree_->currentItem();
  return node != nullptr && node->isSelected() ? itemOf(node) : nullptr;
}

LayoutItem& CLayoutPage::root() {
  // The tree shows the configuration's own items, and the page changes them in place through the rules;
  // taking hold of the root is no change yet.
  Configuration& configuration = this->configuration();
  const bool modified = configuration.modified();
  LayoutItem& root = configuration.mutableArrangement();
  configuration.setModified(modified);
  return root;
}

LayoutItem& CLayoutPage::targetChapter() {
  LayoutItem* selected = selectedItem();
  if (selected == nullptr) return root();
  return selected->isChapter() ? *selected : *selected->parent();
}

bool CLayoutPage::chapterInsertOffered() const {
  const LayoutItem* selected = selectedItem();
  return canInsertChapter(selected != nullptr ? *selected : configuration().arrangement());
}

void CLayoutPage::insert(LayoutItem::Kind kind) {
  if (kind == LayoutItem::kChapter && !chapterInsertOffered()) return;
  LayoutItem& chapter = targetChapter();
  LayoutItem fresh;
  fresh.setKind(kind);
  const LayoutItem probe(&chapter);  // where a new chapter would stand, for the rule on its depth
  LayoutItemPlace place{&chapter, nullptr, canSetNoCombineHeaders(probe), true};
  std::unique_ptr<LayoutItemDialog> dialog = makeLayoutItemDialog(fresh, place, dialogs(), this);
  if (!dialogs().runDialog(*dialog)) return;

  const LayoutItem* last = nullptr;
  bool clash_told = false;
  for (const std::string& name : dialog->names()) {
    LayoutItem item = fresh;
    dialog->apply(item);
    item.setName(name);
    const InsertOutcome outcome = insertItem(chapter, std::move(item));
    if (outcome.item != nullptr) last = outcome.item;
    if (outcome.result == EditResult::kNameClash && !clash_told) {
      dialogs().tell(kChapterNameClashMessage);
      clash_told = true;
    }
  }
  if (last != nullptr) treeChanged(last);
}

void CLayoutPage::editSelected() {
  LayoutItem* item = selectedItem();
  if (item == nullptr) return;
  LayoutItemPlace place{item->parent(), item, item->isChapter() && canSetNoCombineHeaders(*item), false};
  std::unique_ptr<LayoutItemDialog> dialog = makeLayoutItemDialog(*item, place, dialogs(), this);
  if (!dialogs().runDialog(*dialog)) return;
  item->setName(dialog->names().front());
  dialog->apply(*item);
  treeChanged(item);
}

void CLayoutPage::deleteSelected() {
  LayoutItem* item = selectedItem();
  if (item == nullptr || item->parent() == nullptr) return;
  LayoutItem* chapter = item->parent();
  const size_t index = chapter->indexOfChild(item);
  deleteItem(*item);
  const LayoutItem* next = chapter;
  if (chapter->childCount() > 0) next = chapter->child(index < chapter->childCount() ? index : index - 1);
  treeChanged(next);
}

void CLayoutPage::autoFill() {
  CAutoFillDialog dialog(
      [this](const std::string& folder) {
        // Filled on a copy, so that a folder without headers leaves the tree as it was.
        LayoutItem filled = configuration().arrangement();
        const size_t found = quillet::autoFill(filled, folder);
        if (found > 0) configuration().mutableArrangement() = std::move(filled);
        return found;
      },
      dialogs(), this);
  if (dialogs().runDialog(dialog)) treeChanged(nullptr);
}

bool CLayoutPage::move(LayoutItem& item, LayoutItem& chapter) {
  const EditResult result = moveItem(item, chapter);
  if (result == EditResult::kNameClash) dialogs().tell(kChapterNameClashMessage);
  if (result != EditResult::kDone) return false;
  treeChanged(&item);
  return true;
}

void CLayoutPage::treeChanged(const LayoutItem* select_after) {
  configuration().setModified(true);
  reload();
  select(select_after);
}

void CLayoutPage::updateButtons() {
  const LayoutItem* selected = selectedItem();
  edit_->setEnabled(selected != nullptr);
  delete_->setEnabled(selected != nullptr && selected->parent() != nullptr);
}

}  // namespace quillet
