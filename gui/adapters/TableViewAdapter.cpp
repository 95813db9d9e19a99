#include "gui/adapters/TableViewAdapter.h"

#include <QPointer>

namespace kelpa::gui {

namespace ui = platform::ui;

TableViewAdapter::TableViewAdapter(std::shared_ptr<ui::View> view, QObject* parent)
    : WidgetAdapter(view, parent),
      rows_(new TableRowModel(std::dynamic_pointer_cast<ui::TableView>(view), this)) {
    watchRefreshControl();
}

TableViewAdapter::~TableViewAdapter() {
    if (auto control = refresh_.lock()) control->unobserve(refreshObserver_);
}

// The refresh control is a view of its own: its spinning is not a change of the table.
void TableViewAdapter::watchRefreshControl() {
    auto table = as<ui::TableView>();
    auto current = table ? table->refreshControl() : nullptr;
    if (current == refresh_.lock()) return;
    if (auto previous = refresh_.lock()) previous->unobserve(refreshObserver_);
    refresh_ = current;
    refreshObserver_ = 0;
    if (!current) return;
    QPointer<TableViewAdapter> self(this);
    refreshObserver_ = current->observe([self] {
        if (self) self->scheduleChanged();
    });
}

bool TableViewAdapter::isRefreshable() const {
    auto table = as<ui::TableView>();
    return table && table->refreshControl() && table->refreshControl()->isEnabled();
}

bool TableViewAdapter::isRefreshing() const {
    auto table = as<ui::TableView>();
    return table && table->refreshControl() && table->refreshControl()->isRefreshing();
}

bool TableViewAdapter::allowsMultipleSelection() const {
    auto table = as<ui::TableView>();
    return table && table->allowsMultipleSelection();
}

bool TableViewAdapter::tapRow(int row) {
    auto table = as<ui::TableView>();
    auto path = rows_->indexPathForRow(row);
    if (!table || !path || !usable()) return false;
    table->tapRow(*path);
    return true;
}

bool TableViewAdapter::canDeleteRow(int row) const {
    auto table = as<ui::TableView>();
    auto path = rows_->indexPathForRow(row);
    return table && path && table->canDeleteRow(*path);
}

bool TableViewAdapter::deleteRow(int row) {
    auto table = as<ui::TableView>();
    auto path = rows_->indexPathForRow(row);
    return table && path && usable() && table->deleteRow(*path);
}

bool TableViewAdapter::pull() {
    auto table = as<ui::TableView>();
    if (!table || !usable() || !table->refreshControl()) return false;
    table->refreshControl()->pull();
    return true;
}

}  // namespace kelpa::gui
