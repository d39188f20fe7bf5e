#include "platform/ui/icon_grid_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <unordered_map>

#include "platform/ui/icon_grid_view.h"

namespace {

class IconItemAccessible final : public QAccessibleInterface {
 public:
  IconItemAccessible(QAbstractItemView* view, int row) : m_view(view), m_row(row) {}

  [[nodiscard]] int row() const { return m_row; }

  bool isValid() const override { return !m_view.isNull() && m_row < m_view->model()->rowCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_view.isNull() ? nullptr : m_view->window()->windowHandle(); }
  QVector<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
    return {};
  }
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text kind) const override {
    if (!isValid() || kind != QAccessible::Name) return {};
    const QModelIndex index = m_view->model()->index(m_row, 0);
    const QString described = index.data(Qt::AccessibleTextRole).toString();
    return described.isEmpty() ? index.data(Qt::DisplayRole).toString() : described;
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    QAbstractItemView* view = m_view.data();
    QAbstractItemModel* model = view != nullptr ? view->model() : nullptr;
    if (model == nullptr || m_row >= model->rowCount()) return {};
    const QRect box = view->visualRect(model->index(m_row, 0));
    return QRect(view->viewport()->mapToGlobal(box.topLeft()), box.size());
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.selectable = true;
    state.selected = isValid() && m_view->selectionModel() != nullptr &&
                     m_view->selectionModel()->isSelected(m_view->model()->index(m_row, 0));
    return state;
  }

 private:
  QPointer<QAbstractItemView> m_view;
  int m_row;
};

class IconGridAccessible final : public QAccessibleWidget {
 public:
  explicit IconGridAccessible(QAbstractItemView* view) : QAccessibleWidget(view, QAccessible::List) {}
  IconGridAccessible(const IconGridAccessible&) = delete;
  IconGridAccessible& operator=(const IconGridAccessible&) = delete;
  ~IconGridAccessible() override {
    for (const auto& [row, id] : m_items) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return View()->model()->rowCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    // Qt's cache owns the interfaces; one per row, made when first asked.
    if (const auto found = m_items.find(index); found != m_items.end()) {
      if (QAccessibleInterface* known = QAccessible::accessibleInterface(found->second)) return known;
    }
    auto* item = new IconItemAccessible(View(), index);
    m_items[index] = QAccessible::registerAccessibleInterface(item);
    return item;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* item = dynamic_cast<const IconItemAccessible*>(child);
    return item != nullptr ? item->row() : -1;
  }

 private:
  [[nodiscard]] QAbstractItemView* View() const { return static_cast<QAbstractItemView*>(widget()); }
  mutable std::unordered_map<int, QAccessible::Id> m_items;
};

QAccessibleInterface* IconGridFactory(const QString&, QObject* object) {
  auto* view = dynamic_cast<IconGridView*>(object);
  return view != nullptr ? new IconGridAccessible(view) : nullptr;
}

}  // namespace

void InstallIconGridAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(IconGridFactory);
    return true;
  }();
  static_cast<void>(installed);
}
