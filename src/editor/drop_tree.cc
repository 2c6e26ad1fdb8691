#include "editor/drop_tree.h"

#include <QDropEvent>

namespace quillet {

DropTree::DropTree(DropHandler on_drop) : onDrop_(std::move(on_drop)) {
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::InternalMove);
  setAutoScroll(true);  // scrolls on a timer while a drag hovers near an edge
  setAutoScrollMargin(24);
}

void DropTree::dropEvent(QDropEvent* event) {
  QTreeWidgetItem* dragged = currentItem();
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  Place place = Place::kEmpty;
  switch (dropIndicatorPosition()) {
    case QAbstractItemView::OnItem:
      place = Place::kOn;
      break;
    case QAbstractItemView::AboveItem:
      place = Place::kAbove;
      break;
    case QAbstractItemView::BelowItem:
      place = Place::kBelow;
      break;
    case QAbstractItemView::OnViewport:
      target = nullptr;
      break;
  }
  // The drag itself must not move or remove anything; the page shows the outcome once the drag is over.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (dragged == nullptr || dragged == target) return;
  const QVariant dragged_data = dragged->data(0, Qt::UserRole);
  const QVariant target_data = target != nullptr ? target->data(0, Qt::UserRole) : QVariant();
  QMetaObject::invokeMethod(
      this, [this, dragged_data, target_data, place] { onDrop_(dragged_data, target_data, place); },
      Qt::QueuedConnection);
}

}  // namespace quillet
