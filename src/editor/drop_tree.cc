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

DropTree::Place DropTree::placeAt(const QPoint& point, QTreeWidgetItem* target) const {
  if (target == nullptr) return Place::kEmpty;
  // The upper and lower quarters of a row mean beside the item; the middle means onto it, where the item
  // takes drops (otherwise the nearer half decides).
  const QRect row = visualItemRect(target);
  const bool takes_drops = target->flags().testFlag(Qt::ItemIsDropEnabled);
  const int edge = takes_drops ? row.height() / 4 : row.height() / 2;
  if (point.y() < row.top() + edge) return Place::kAbove;
  if (point.y() >= row.bottom() - edge) return Place::kBelow;
  return takes_drops ? Place::kOn : Place::kBelow;
}

void DropTree::dropEvent(QDropEvent* event) {
  // The drag itself must not move or remove anything; the page shows the outcome once the drag is over.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  const QPoint point = event->position().toPoint();
  QMetaObject::invokeMethod(
      this, [this, point] { dropCurrentAt(point); }, Qt::QueuedConnection);
}

void DropTree::dropCurrentAt(const QPoint& point) {
  QTreeWidgetItem* dragged = currentItem();
  QTreeWidgetItem* target = itemAt(point);
  if (dragged == nullptr || dragged == target) return;
  onDrop_(dragged->data(0, Qt::UserRole), target != nullptr ? target->data(0, Qt::UserRole) : QVariant(),
          placeAt(point, target));
}

}  // namespace quillet
