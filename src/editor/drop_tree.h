// A tree control whose drag and drop moves nothing by itself: a drop inside the control is handed to the
// owning page, which changes the configuration and shows it again. The source list and the arrangement tree
// use it; the control scrolls on its own when an item is dragged near its top or bottom edge.
#pragma once

#include <QTreeWidget>
#include <functional>

namespace quillet {

class DropTree : public QTreeWidget {
 public:
  /// Where a drop landed: on the item, just above or below it, or on the empty area (target is null).
  enum class Place { kOn, kAbove, kBelow, kEmpty };
  /// Receives the data (Qt::UserRole, column 0) of the dragged item and of the item under the drop point
  /// (invalid on the empty area).
  using DropHandler = std::function<void(const QVariant& dragged, const QVariant& target, Place place)>;

  /// A tree whose items can be dragged within it; `on_drop` receives each drop.
  explicit DropTree(DropHandler on_drop);

  /// Hands the current item to the drop handler as dropped at `point` (in viewport coordinates), as the end
  /// of a drag does.
  void dropCurrentAt(const QPoint& point);

 protected:
  void dropEvent(QDropEvent* event) override;

 private:
  Place placeAt(const QPoint& point, QTreeWidgetItem* target) const;

  DropHandler onDrop_;
};

}  // namespace quillet
