#pragma once
// Internal to platform/ui (Qt): the icon view's widget. Items sit in cells
// of one size, in index order, left to right and wrapping at the view's
// width (or one to a line), so where an item is follows from its index
// alone: appending an item out of sight costs no layout and no repaint,
// however many items the view holds.

#include <QAbstractItemView>
#include <QSize>
#include <functional>

#include "platform/ui/common_controls.h"

class ListItemModel;

class IconGridView final : public QAbstractItemView {
 public:
  enum class Flow { Wrapping, OneToALine };

  IconGridView(ListItemModel& items, Flow flow, QWidget* parent);

  // Pictures are drawn from this list when painted, by each item's index.
  void SetImages(HIMAGELIST images);
  void SetGridSize(QSize size);
  [[nodiscard]] QSize GridSize() const { return m_grid; }
  // Dragging selected items runs start (which starts the drag); an empty
  // function turns dragging off.
  void SetDragStart(std::function<void()> start);

  // In the viewport's coordinates; empty for a row that is not an item.
  [[nodiscard]] QRect ItemRect(int row) const;
  [[nodiscard]] QRect IconRect(int row) const;

  [[nodiscard]] QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  [[nodiscard]] QModelIndex indexAt(const QPoint& point) const override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  [[nodiscard]] int horizontalOffset() const override;
  [[nodiscard]] int verticalOffset() const override;
  [[nodiscard]] bool isIndexHidden(const QModelIndex& index) const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
  [[nodiscard]] QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void paintEvent(QPaintEvent* event) override;
  void updateGeometries() override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void startDrag(Qt::DropActions supportedActions) override;

 private:
  [[nodiscard]] QSize Cell() const;
  [[nodiscard]] int Columns() const;
  [[nodiscard]] int Lines() const;
  // The cell of row in content coordinates (before scrolling).
  [[nodiscard]] QRect ContentRect(int row) const;
  void DrawItem(QPainter& painter, int row, const QRect& cell);
  void ItemsMoved();
  // The scroll range after appends out of sight, at most once per
  // kRangeDelayMs: only the scroll bar would change, and redrawing it (and
  // what lies behind it) per append cost more than storing the items.
  void RangeLater();
  void RangeNow();
  static constexpr int kRangeDelayMs = 40;
  bool m_rangePending = false;

  ListItemModel& m_items;
  Flow m_flow;
  HIMAGELIST m_images = nullptr;
  QSize m_grid;
  std::function<void()> m_dragStart;
};
