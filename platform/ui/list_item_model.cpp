#include "platform/ui/list_item_model.h"

#include <algorithm>
#include <utility>

int ListItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant ListItemModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !Valid(index.row())) return {};
  if (role == Qt::DisplayRole) return At(index.row()).text;
  if ((role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) && m_describe) {
    QString text = m_describe(index.row());
    if (!text.isEmpty()) return text;
  }
  return {};
}

Qt::ItemFlags ListItemModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return m_draggable ? flags | Qt::ItemIsDragEnabled : flags;
}

int ListItemModel::Insert(int at, ListItem item) {
  at = std::clamp(at, 0, Count());
  beginInsertRows(QModelIndex(), at, at);
  m_items.insert(m_items.begin() + at, std::move(item));
  endInsertRows();
  return at;
}

bool ListItemModel::Remove(int row) {
  if (!Valid(row)) return false;
  beginRemoveRows(QModelIndex(), row, row);
  m_items.erase(m_items.begin() + row);
  endRemoveRows();
  return true;
}

void ListItemModel::Clear() {
  beginResetModel();
  m_items.clear();
  m_items.shrink_to_fit();
  endResetModel();
}

bool ListItemModel::Set(int row, ListItem item) {
  if (!Valid(row)) return false;
  m_items[static_cast<std::size_t>(row)] = std::move(item);
  const QModelIndex changed = index(row);
  emit dataChanged(changed, changed);
  return true;
}
