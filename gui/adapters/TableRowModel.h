#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include <QAbstractListModel>
#include <QImage>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace kelpa::gui {

// The rows of one table view, all sections one after the other, as a Qt list model. It
// follows reloads and the cells' own changes (a picture that arrives late) on the next turn of
// the event loop: the same cells again only refresh their rows, other cells reset the model.
class TableRowModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        DetailRole,
        StyleRole,            // "default", "value1", "value2", "subtitle"
        ImageRole,            // QImage, null when none
        HasImageRole,
        AccessoryRole,        // "none", "disclosureIndicator", "detailDisclosureButton", "checkmark"
        AccessoryImageRole,   // an accessory view that is a picture, while shown
        HasAccessoryImageRole,
        AccessoryNameRole,    // the accessible name of an accessory view while shown, "" without one
        SelectedRole,
        CanDeleteRole,
    };

    explicit TableRowModel(std::shared_ptr<platform::ui::TableView> table, QObject* parent = nullptr);
    ~TableRowModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Where a row of the model is in the table; none past the end.
    std::optional<platform::ui::IndexPath> indexPathForRow(int row) const;
    // Follows the table now rather than on the next turn.
    void syncNow();

private:
    void scheduleSync();
    void scheduleRow(const platform::ui::TableViewCell* cell);
    void observeCells();
    void unobserveCells();

    std::weak_ptr<platform::ui::TableView> table_;
    platform::ui::View::ObserverId tableObserver_ = 0;
    struct Row {
        platform::ui::IndexPath path;
        std::shared_ptr<platform::ui::TableViewCell> cell;
        platform::ui::View::ObserverId observer = 0;
    };
    std::vector<Row> rows_;
    std::set<const platform::ui::TableViewCell*> dirty_;
    bool syncPending_ = false;
    bool rowsPending_ = false;
    mutable std::map<const platform::Image*, std::pair<std::weak_ptr<const platform::Image>, QImage>> images_;
};

}  // namespace kelpa::gui
