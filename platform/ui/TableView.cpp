#include "platform/ui/TableView.h"

#include <algorithm>

namespace kelpa::platform::ui {

void TableView::reloadData() {
    auto dataSource = dataSource_.lock();
    // Cells of the previous load wait for reuse.
    reusable_.clear();
    for (auto& section : rows_) {
        for (auto& cell : section) {
            if (!cell) continue;
            cell->setSelected(false);
            reusable_.push_back(cell);
        }
    }
    rows_.clear();
    if (dataSource) {
        const int sections = dataSource->numberOfSectionsInTableView(*this);
        for (int s = 0; s < sections; ++s) {
            rows_.emplace_back();
            const int count = dataSource->numberOfRowsInSection(*this, s);
            for (int r = 0; r < count; ++r) {
                auto cell = dataSource->cellForRowAtIndexPath(*this, {s, r});
                rows_.back().push_back(cell ? cell : TableViewCell::initWithStyle(TableViewCell::Style::defaultStyle, {}));
            }
        }
    }
    reusable_.clear();
    // Selections do not survive a reload.
    selected_.clear();
    changed();
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    auto it = std::find_if(reusable_.begin(), reusable_.end(),
                           [&](const auto& cell) { return cell->reuseIdentifier() == identifier; });
    if (it == reusable_.end()) return nullptr;
    auto cell = *it;
    reusable_.erase(it);
    return cell;
}

int TableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) return 0;
    return static_cast<int>(rows_[section].size());
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    if (indexPath.row < 0 || indexPath.row >= numberOfRowsInSection(indexPath.section)) return nullptr;
    return rows_[indexPath.section][indexPath.row];
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> paths;
    for (int s = 0; s < numberOfSections(); ++s) {
        for (int r = 0; r < numberOfRowsInSection(s); ++r) paths.push_back({s, r});
    }
    return paths;
}

void TableView::setAllowsMultipleSelection(bool allows) {
    if (multipleSelection_ == allows) return;
    multipleSelection_ = allows;
    changed();
}

std::vector<IndexPath> TableView::indexPathsForSelectedRows() const { return {selected_.begin(), selected_.end()}; }

void TableView::selectRowAtIndexPath(const IndexPath& indexPath) {
    auto cell = cellForRowAtIndexPath(indexPath);
    if (!cell) return;
    if (!multipleSelection_) {
        for (const auto& other : selected_) {
            if (auto previous = cellForRowAtIndexPath(other)) previous->setSelected(false);
        }
        selected_.clear();
    }
    selected_.insert(indexPath);
    cell->setSelected(true);
    changed();
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool) {
    if (selected_.erase(indexPath) == 0) return;
    if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(false);
    changed();
}

void TableView::tapRow(const IndexPath& indexPath) {
    if (!cellForRowAtIndexPath(indexPath)) return;
    auto keep = shared_from_this();
    auto delegate = delegate_.lock();
    if (selected_.count(indexPath) && multipleSelection_) {
        deselectRowAtIndexPath(indexPath);
        if (delegate) delegate->didDeselectRowAtIndexPath(*this, indexPath);
        return;
    }
    // A single-selection table lets go of the row selected before, and says so.
    std::vector<IndexPath> previous;
    if (!multipleSelection_) {
        for (const auto& other : selected_) {
            if (!(other == indexPath)) previous.push_back(other);
        }
    }
    for (const auto& other : previous) {
        deselectRowAtIndexPath(other);
        if (delegate) delegate->didDeselectRowAtIndexPath(*this, other);
    }
    selectRowAtIndexPath(indexPath);
    if (delegate) delegate->didSelectRowAtIndexPath(*this, indexPath);
}

bool TableView::canDeleteRow(const IndexPath& indexPath) {
    auto dataSource = dataSource_.lock();
    return dataSource && cellForRowAtIndexPath(indexPath) && dataSource->canEditRowAtIndexPath(*this, indexPath);
}

bool TableView::deleteRow(const IndexPath& indexPath) {
    if (!canDeleteRow(indexPath)) return false;
    auto keep = shared_from_this();
    dataSource_.lock()->commitEditingStyle(*this, TableViewCellEditingStyle::deleteStyle, indexPath);
    return true;
}

void TableView::setRefreshControl(std::shared_ptr<RefreshControl> control) {
    if (refreshControl_ == control) return;
    if (refreshControl_) refreshControl_->removeFromSuperview();
    refreshControl_ = std::move(control);
    if (refreshControl_) addSubview(refreshControl_);
    changed();
}

}  // namespace kelpa::platform::ui
