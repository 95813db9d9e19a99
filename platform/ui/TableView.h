#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelpa::platform::ui {

class TableView;

enum class TableViewCellEditingStyle { none, deleteStyle, insert };

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) = 0;
    // Rows that take swipe-to-delete; none unless the screen commits edits.
    virtual bool canEditRowAtIndexPath(TableView&, const IndexPath&) { return false; }
    virtual void commitEditingStyle(TableView&, TableViewCellEditingStyle, const IndexPath&) {}
};

class TableViewDelegate {
public:
    virtual ~TableViewDelegate() = default;
    virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) {}
    virtual void didDeselectRowAtIndexPath(TableView&, const IndexPath&) {}
};

// A list of rows. Tables here are short, so reloadData builds every row's cell at once; cells
// of the previous load are offered again for reuse.
class TableView : public View {
public:
    using View::View;
    const char* kind() const override { return "TableView"; }

    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource) { dataSource_ = std::move(dataSource); }
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate) { delegate_ = std::move(delegate); }

    void reloadData();
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);

    int numberOfSections() const { return static_cast<int>(rows_.size()); }
    int numberOfRowsInSection(int section) const;
    // The cell shown for a row, or none.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;

    bool allowsMultipleSelection() const { return multipleSelection_; }
    void setAllowsMultipleSelection(bool allows);
    std::vector<IndexPath> indexPathsForSelectedRows() const;
    // By code: no delegate calls.
    void selectRowAtIndexPath(const IndexPath& indexPath);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated = false);

    // A person's acts on the table.
    void tapRow(const IndexPath& indexPath);
    // Swipe to delete, or the "Delete" context action; false when the row takes no delete.
    bool deleteRow(const IndexPath& indexPath);
    bool canDeleteRow(const IndexPath& indexPath);

    const std::shared_ptr<RefreshControl>& refreshControl() const { return refreshControl_; }
    void setRefreshControl(std::shared_ptr<RefreshControl> control);

private:
    std::weak_ptr<TableViewDataSource> dataSource_;
    std::weak_ptr<TableViewDelegate> delegate_;
    std::vector<std::vector<std::shared_ptr<TableViewCell>>> rows_;
    std::vector<std::shared_ptr<TableViewCell>> reusable_;
    std::set<IndexPath> selected_;
    bool multipleSelection_ = false;
    std::shared_ptr<RefreshControl> refreshControl_;
};

}  // namespace kelpa::platform::ui
