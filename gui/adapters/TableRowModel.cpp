#include "gui/adapters/TableRowModel.h"

#include "gui/adapters/ImageConversion.h"
#include "platform/ui/ImageView.h"

#include <QPointer>

namespace kelpa::gui {

namespace ui = platform::ui;

TableRowModel::TableRowModel(std::shared_ptr<ui::TableView> table, QObject* parent)
    : QAbstractListModel(parent), table_(table) {
    QPointer<TableRowModel> self(this);
    tableObserver_ = table->observe([self] {
        if (self) self->scheduleSync();
    });
    syncNow();
}

TableRowModel::~TableRowModel() {
    unobserveCells();
    if (auto table = table_.lock()) table->unobserve(tableObserver_);
}

void TableRowModel::unobserveCells() {
    for (auto& row : rows_) {
        if (row.cell && row.observer) row.cell->unobserve(row.observer);
        row.observer = 0;
    }
}

void TableRowModel::observeCells() {
    QPointer<TableRowModel> self(this);
    for (auto& row : rows_) {
        const ui::TableViewCell* cell = row.cell.get();
        row.observer = row.cell->observe([self, cell] {
            if (self) self->scheduleRow(cell);
        });
    }
}

void TableRowModel::scheduleSync() {
    if (syncPending_) return;
    syncPending_ = true;
    QMetaObject::invokeMethod(this, [this] {
        if (syncPending_) syncNow();
    }, Qt::QueuedConnection);
}

void TableRowModel::scheduleRow(const ui::TableViewCell* cell) {
    dirty_.insert(cell);
    if (rowsPending_) return;
    rowsPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rowsPending_ = false;
            auto dirty = std::move(dirty_);
            dirty_.clear();
            for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
                if (dirty.count(rows_[static_cast<std::size_t>(i)].cell.get())) emit dataChanged(index(i), index(i));
            }
        },
        Qt::QueuedConnection);
}

void TableRowModel::syncNow() {
    syncPending_ = false;
    std::vector<Row> fresh;
    if (auto table = table_.lock()) {
        for (const auto& path : table->indexPathsForVisibleRows()) {
            fresh.push_back(Row{path, table->cellForRowAtIndexPath(path), 0});
        }
    }
    bool same = fresh.size() == rows_.size();
    for (std::size_t i = 0; same && i < fresh.size(); ++i) {
        same = fresh[i].cell == rows_[i].cell && fresh[i].path == rows_[i].path;
    }
    if (same) {
        // Selection and edits: the rows stay, what they show changes.
        if (!rows_.empty()) emit dataChanged(index(0), index(static_cast<int>(rows_.size()) - 1));
        return;
    }
    beginResetModel();
    unobserveCells();
    rows_ = std::move(fresh);
    observeCells();
    images_.clear();
    endResetModel();
}

int TableRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

std::optional<ui::IndexPath> TableRowModel::indexPathForRow(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return std::nullopt;
    return rows_[static_cast<std::size_t>(row)].path;
}

namespace {
const char* styleName(ui::TableViewCell::Style style) {
    switch (style) {
        case ui::TableViewCell::Style::value1: return "value1";
        case ui::TableViewCell::Style::value2: return "value2";
        case ui::TableViewCell::Style::subtitle: return "subtitle";
        case ui::TableViewCell::Style::defaultStyle: break;
    }
    return "default";
}

const char* accessoryName(ui::TableViewCell::AccessoryType type) {
    switch (type) {
        case ui::TableViewCell::AccessoryType::disclosureIndicator: return "disclosureIndicator";
        case ui::TableViewCell::AccessoryType::detailDisclosureButton: return "detailDisclosureButton";
        case ui::TableViewCell::AccessoryType::checkmark: return "checkmark";
        case ui::TableViewCell::AccessoryType::none: break;
    }
    return "none";
}

// The accessory view's picture while it is shown.
std::shared_ptr<const platform::Image> accessoryPicture(const ui::TableViewCell& cell) {
    auto* image = dynamic_cast<ui::ImageView*>(cell.accessoryView().get());
    if (!image || image->isHidden()) return nullptr;
    return image->image();
}

// What an accessory view stands for (a leader's mark, say), read out and shown when it has
// no picture to show.
QString accessoryName(const ui::TableViewCell& cell) {
    const auto& accessory = cell.accessoryView();
    if (!accessory || accessory->isHidden()) return {};
    return QString::fromStdString(accessory->accessibleName());
}
}  // namespace

QVariant TableRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const ui::TableViewCell& cell = *row.cell;
    auto picture = [this](const std::shared_ptr<const platform::Image>& image) -> QImage {
        if (!image) return {};
        auto& slot = images_[image.get()];
        if (slot.first.lock() != image) slot = {image, ImageConversion::toQImage(*image)};
        return slot.second;
    };
    switch (role) {
        case Qt::DisplayRole:
        case TitleRole: return QString::fromStdString(cell.textLabel().text());
        case DetailRole: return cell.detailTextLabel() ? QString::fromStdString(cell.detailTextLabel()->text()) : QString();
        case StyleRole: return QString::fromUtf8(styleName(cell.style()));
        case ImageRole: return picture(cell.imageView().isHidden() ? nullptr : cell.imageView().image());
        case HasImageRole: return !cell.imageView().isHidden() && cell.imageView().image() != nullptr;
        case AccessoryRole: return QString::fromUtf8(accessoryName(cell.accessoryType()));
        case AccessoryImageRole: return picture(accessoryPicture(cell));
        case HasAccessoryImageRole: return accessoryPicture(cell) != nullptr;
        case AccessoryNameRole: return accessoryName(cell);
        case SelectedRole: return cell.isSelected();
        case CanDeleteRole: {
            auto table = table_.lock();
            return table && table->canDeleteRow(row.path);
        }
        default: return {};
    }
}

QHash<int, QByteArray> TableRowModel::roleNames() const {
    return {{TitleRole, "title"},
            {DetailRole, "detail"},
            {StyleRole, "cellStyle"},
            {ImageRole, "image"},
            {HasImageRole, "hasImage"},
            {AccessoryRole, "accessory"},
            {AccessoryImageRole, "accessoryImage"},
            {HasAccessoryImageRole, "hasAccessoryImage"},
            {AccessoryNameRole, "accessoryName"},
            {SelectedRole, "selected"},
            {CanDeleteRole, "canDelete"}};
}

}  // namespace kelpa::gui
