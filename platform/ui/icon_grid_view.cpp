#include "platform/ui/icon_grid_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/ui/gdi_internal.h"
#include "platform/ui/icon_grid_accessible.h"
#include "platform/ui/list_item_model.h"

namespace {
// Room between the cell's top and its picture, and between picture and label.
constexpr int kIconTop = 2;
constexpr int kLabelGap = 2;
}  // namespace

IconGridView::IconGridView(ListItemModel& items, Flow flow, QWidget* parent)
    : QAbstractItemView(parent), m_items(items), m_flow(flow), m_grid(75, 70) {
  setModel(&items);
  InstallIconGridAccessibility();
  // Whatever moves items' places repaints the whole view; an append only
  // repaints when the new item shows.
  connect(&items, &QAbstractItemModel::rowsRemoved, this, [this] { ItemsMoved(); });
  connect(&items, &QAbstractItemModel::modelReset, this, [this] { ItemsMoved(); });
}

void IconGridView::SetImages(HIMAGELIST images) {
  m_images = images;
  viewport()->update();
}

void IconGridView::SetGridSize(QSize size) {
  m_grid = size.expandedTo(QSize(1, 1));
  ItemsMoved();
}

QSize IconGridView::Cell() const {
  if (m_flow == Flow::Wrapping) return m_grid;
  const int line = std::max(iconSize().height(), fontMetrics().height()) + kIconTop;
  return QSize(std::max(1, viewport()->width()), line);
}

int IconGridView::Columns() const {
  if (m_flow == Flow::OneToALine) return 1;
  return std::max(1, viewport()->width() / Cell().width());
}

int IconGridView::Lines() const {
  const int columns = Columns();
  return (m_items.Count() + columns - 1) / columns;
}

QRect IconGridView::ContentRect(int row) const {
  if (!m_items.Valid(row)) return {};
  const QSize cell = Cell();
  const int columns = Columns();
  return QRect((row % columns) * cell.width(), (row / columns) * cell.height(), cell.width(), cell.height());
}

QRect IconGridView::ItemRect(int row) const {
  return ContentRect(row).translated(-horizontalOffset(), -verticalOffset());
}

QRect IconGridView::IconRect(int row) const {
  const QRect cell = ItemRect(row);
  if (cell.isEmpty()) return {};
  const QSize icon = iconSize();
  const int left = m_flow == Flow::Wrapping ? cell.left() + (cell.width() - icon.width()) / 2 : cell.left() + kIconTop;
  return QRect(left, cell.top() + kIconTop, icon.width(), icon.height());
}

QRect IconGridView::visualRect(const QModelIndex& index) const {
  return index.isValid() ? ItemRect(index.row()) : QRect();
}

void IconGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  RangeNow();
  const QRect cell = ContentRect(index.row());
  if (cell.isEmpty()) return;
  QScrollBar* bar = verticalScrollBar();
  const int height = viewport()->height();
  const int top = bar->value();
  if (hint == PositionAtTop || (hint == EnsureVisible && cell.top() < top)) {
    bar->setValue(cell.top());
  } else if (hint == PositionAtBottom || (hint == EnsureVisible && cell.bottom() >= top + height)) {
    bar->setValue(cell.bottom() + 1 - height);
  } else if (hint == PositionAtCenter) {
    bar->setValue(cell.center().y() - height / 2);
  }
}

QModelIndex IconGridView::indexAt(const QPoint& point) const {
  const QPoint at = point + QPoint(horizontalOffset(), verticalOffset());
  const QSize cell = Cell();
  if (at.x() < 0 || at.y() < 0) return {};
  const int column = at.x() / cell.width();
  const int columns = Columns();
  if (column >= columns) return {};
  const long long row = static_cast<long long>(at.y() / cell.height()) * columns + column;
  if (row >= m_items.Count()) return {};
  return m_items.index(static_cast<int>(row));
}

QModelIndex IconGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int count = m_items.Count();
  if (count == 0) return {};
  const int columns = Columns();
  const int page = std::max(1, viewport()->height() / Cell().height()) * columns;
  const int current = currentIndex().isValid() ? currentIndex().row() : -1;
  if (current < 0) return m_items.index(0);
  int next = current;
  switch (action) {
    case MoveLeft:
    case MovePrevious:
      next = current - 1;
      break;
    case MoveRight:
    case MoveNext:
      next = current + 1;
      break;
    case MoveUp:
      next = current - columns;
      break;
    case MoveDown:
      next = current + columns;
      break;
    case MovePageUp:
      next = current - page;
      break;
    case MovePageDown:
      next = current + page;
      break;
    case MoveHome:
      next = 0;
      break;
    case MoveEnd:
      next = count - 1;
      break;
  }
  // A move past either end stays on the item nearest that end.
  return m_items.index(std::clamp(next, 0, count - 1));
}

int IconGridView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int IconGridView::verticalOffset() const { return verticalScrollBar()->value(); }

bool IconGridView::isIndexHidden(const QModelIndex&) const { return false; }

void IconGridView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
  const QRect area = rect.normalized().translated(horizontalOffset(), verticalOffset());
  const QSize cell = Cell();
  const int columns = Columns();
  const int firstColumn = std::max(0, area.left() / cell.width());
  const int lastColumn = std::min(columns - 1, std::max(0, area.right()) / cell.width());
  const int firstLine = std::max(0, area.top() / cell.height());
  const int lastLine = std::min(Lines() - 1, std::max(0, area.bottom()) / cell.height());
  QItemSelection selection;
  for (int line = firstLine; line <= lastLine && firstColumn <= lastColumn; ++line) {
    const int first = line * columns + firstColumn;
    const int last = std::min(m_items.Count() - 1, line * columns + lastColumn);
    if (first <= last) selection.select(m_items.index(first), m_items.index(last));
  }
  selectionModel()->select(selection, flags);
}

QRegion IconGridView::visualRegionForSelection(const QItemSelection& selection) const {
  // Whole lines from a range's first to its last: a range may hold
  // thousands of items, and repainting a little more is cheaper than
  // listing each.
  QRegion region;
  const QSize cell = Cell();
  const int columns = Columns();
  const int width = columns * cell.width();
  for (const QItemSelectionRange& range : selection) {
    if (!range.isValid()) continue;
    const int top = range.top() / columns;
    const int bottom = range.bottom() / columns;
    region += QRect(0, top * cell.height(), width, (bottom - top + 1) * cell.height())
                  .translated(-horizontalOffset(), -verticalOffset());
  }
  return region & viewport()->rect();
}

void IconGridView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  const QSize cell = Cell();
  const int columns = Columns();
  const int firstLine = std::max(0, (dirty.top() + verticalOffset()) / cell.height());
  const int lastLine = (dirty.bottom() + verticalOffset()) / cell.height();
  const int first = firstLine * columns;
  const int last = std::min(m_items.Count() - 1, (lastLine + 1) * columns - 1);
  for (int row = first; row <= last; ++row) {
    const QRect rect = ItemRect(row);
    if (rect.intersects(dirty)) DrawItem(painter, row, rect);
  }
}

void IconGridView::DrawItem(QPainter& painter, int row, const QRect& cell) {
  const QModelIndex index = m_items.index(row);
  const bool selected = selectionModel() != nullptr && selectionModel()->isSelected(index);
  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  if (selected) painter.fillRect(cell.adjusted(1, 1, -1, -1), palette().color(group, QPalette::Highlight));
  const QRect icon = IconRect(row);
  static_cast<void>(DrawImageListImage(painter, m_images, m_items.At(row).image, icon.topLeft()));
  const QString& text = m_items.At(row).text;
  if (!text.isEmpty()) {
    QRect label =
        m_flow == Flow::Wrapping
            ? QRect(cell.left(), icon.bottom() + 1 + kLabelGap, cell.width(), cell.bottom() - icon.bottom() - kLabelGap)
            : QRect(icon.right() + 1 + kLabelGap, cell.top(), cell.right() - icon.right() - kLabelGap, cell.height());
    painter.setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const Qt::Alignment align =
        m_flow == Flow::Wrapping ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(label, static_cast<int>(align), fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
  }
  if (hasFocus() && currentIndex() == index) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = cell.adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(group, selected ? QPalette::Highlight : QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void IconGridView::updateGeometries() {
  m_rangePending = false;
  const QSize cell = Cell();
  const QSize view = viewport()->size();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setSingleStep(std::max(1, cell.height() / 4));
  vertical->setPageStep(std::max(1, view.height()));
  vertical->setRange(0, std::max(0, Lines() * cell.height() - view.height()));
  QScrollBar* horizontal = horizontalScrollBar();
  const int width = m_flow == Flow::Wrapping ? cell.width() : 0;
  horizontal->setSingleStep(std::max(1, cell.width() / 4));
  horizontal->setPageStep(std::max(1, view.width()));
  horizontal->setRange(0, std::max(0, width - view.width()));
  QAbstractItemView::updateGeometries();
}

void IconGridView::rowsInserted(const QModelIndex& parent, int start, int end) {
  QAbstractItemView::rowsInserted(parent, start, end);
  // Items from start on moved one place; only what is on screen repaints.
  const QRect view = viewport()->rect();
  const QRect from = ItemRect(start);
  if (from.top() < view.bottom() + 1) {
    updateGeometries();
    viewport()->update(QRect(0, std::max(0, from.top()), view.width(), view.height()));
  } else {
    RangeLater();
  }
}

void IconGridView::RangeLater() {
  if (m_rangePending) return;
  m_rangePending = true;
  QTimer::singleShot(kRangeDelayMs, this, [this] { RangeNow(); });
}

void IconGridView::RangeNow() {
  if (!m_rangePending) return;
  m_rangePending = false;
  updateGeometries();
}

void IconGridView::ItemsMoved() {
  updateGeometries();
  viewport()->update();
}

void IconGridView::SetDragStart(std::function<void()> start) {
  m_dragStart = std::move(start);
  // Qt then keeps a selection that a press lands in, so all of it is dragged.
  setDragEnabled(static_cast<bool>(m_dragStart));
  setDragDropMode(m_dragStart ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
  m_items.SetDraggable(static_cast<bool>(m_dragStart));
}

void IconGridView::startDrag(Qt::DropActions) {
  if (m_dragStart) m_dragStart();
}
