#pragma once
// Internal to platform/ui (Qt): the icon view's items. An item is its label,
// the index of its picture in the view's image list and the caller's value;
// the picture itself stays in the image list.

#include <QAbstractListModel>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/win_user.h"

struct ListItem {
  QString text;
  int image = -1;
  LPARAM param = 0;
};

class ListItemModel final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  [[nodiscard]] bool Valid(int row) const { return row >= 0 && row < Count(); }
  // row must be valid.
  [[nodiscard]] const ListItem& At(int row) const { return m_items[static_cast<std::size_t>(row)]; }

  // at is clamped to the items; answers where the item went.
  int Insert(int at, ListItem item);
  bool Remove(int row);
  void Clear();
  // Replaces row's fields and tells the views.
  bool Set(int row, ListItem item);
  // The text of a row's tooltip and accessible name, asked for only when
  // shown; none when empty.
  void SetDescriber(std::function<QString(int row)> describe) { m_describe = std::move(describe); }
  void SetDraggable(bool draggable) { m_draggable = draggable; }

 private:
  // A deque, not a vector: a vector of a million items moved every item
  // whenever it grew past a power of two, a stall of the user-interface
  // thread that grew with the listing (146 ms at 1,055,000 icons).
  std::deque<ListItem> m_items;
  std::function<QString(int row)> m_describe;
  bool m_draggable = false;
};
