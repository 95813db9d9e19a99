#pragma once

#include "gui/adapters/TableRowModel.h"
#include "gui/adapters/WidgetAdapter.h"

namespace kelpa::gui {

// A table: its rows as a list model, and a person's acts on it. Pull to refresh is also a
// refresh button and F5 on a desktop; swipe to delete is also a "Delete" context action.
class TableViewAdapter : public WidgetAdapter {
    Q_OBJECT
    Q_PROPERTY(QObject* rows READ rows CONSTANT)
    Q_PROPERTY(bool refreshable READ isRefreshable NOTIFY changed)
    Q_PROPERTY(bool refreshing READ isRefreshing NOTIFY changed)
    Q_PROPERTY(bool multipleSelection READ allowsMultipleSelection NOTIFY changed)

public:
    TableViewAdapter(std::shared_ptr<platform::ui::View> view, QObject* parent);
    ~TableViewAdapter() override;

    QObject* rows() const { return rows_; }
    TableRowModel* rowModel() const { return rows_; }
    bool isRefreshable() const;
    bool isRefreshing() const;
    bool allowsMultipleSelection() const;

    Q_INVOKABLE bool tapRow(int row);
    Q_INVOKABLE bool canDeleteRow(int row) const;
    Q_INVOKABLE bool deleteRow(int row);
    Q_INVOKABLE bool pull();

protected:
    void modelChanged() override { watchRefreshControl(); }

private:
    void watchRefreshControl();

    TableRowModel* rows_;
    platform::ui::View::ObserverId refreshObserver_ = 0;
    std::weak_ptr<platform::ui::RefreshControl> refresh_;
};

}  // namespace kelpa::gui
