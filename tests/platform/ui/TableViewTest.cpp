#include "TestEnvironment.h"

#include "platform/ui/Driver.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kelpa::platform::ui {
namespace {

// A list screen over a vector of names, keeping a journal of what the table asked and told.
class ListScreen : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    const char* className() const override { return "ListScreen"; }
    void loadView() override {
        ViewController::loadView();
        table = std::make_shared<TableView>("table");
        view()->addSubview(table);
    }
    void viewDidLoad() override {
        table->setDataSource(weakAs<TableViewDataSource>());
        table->setDelegate(weakAs<TableViewDelegate>());
        auto refresh = std::make_shared<RefreshControl>("refresh");
        refresh->addTarget(Control::Event::valueChanged, [this](Control&) { journal.push_back("refresh"); });
        table->setRefreshControl(refresh);
        table->reloadData();
    }

    int numberOfRowsInSection(TableView&, int) override { return static_cast<int>(names.size()); }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath& path) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
        if (cell) ++reused;
        if (!cell) cell = TableViewCell::initWithStyle(TableViewCell::Style::value1, "Cell");
        cell->textLabel().setText(names[path.row]);
        cell->detailTextLabel()->setText(path.row == 0 ? "first" : "");
        return cell;
    }
    bool canEditRowAtIndexPath(TableView&, const IndexPath& path) override { return path.row > 0; }
    void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle, const IndexPath& path) override {
        journal.push_back("delete " + names[path.row]);
        names.erase(names.begin() + path.row);
        tableView.reloadData();
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& path) override {
        journal.push_back("select " + names[path.row]);
    }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& path) override {
        journal.push_back("deselect " + names[path.row]);
    }

    std::shared_ptr<TableView> table;
    std::vector<std::string> names{"Ann", "Bob", "Cem"};
    std::vector<std::string> journal;
    int reused = 0;
};

struct TableViewTest : ::testing::Test {
    TableViewTest() { window->setRootViewController(screen); }

    kelpa::testing::TestEnvironment t;
    std::shared_ptr<ListScreen> screen = std::make_shared<ListScreen>();
    std::shared_ptr<Window> window = std::make_shared<Window>();
    Driver driver{window};
};

TEST_F(TableViewTest, RowsComeFromTheDataSourceAndCellsAreReused) {
    EXPECT_EQ(driver.rows("table"), (std::vector<std::string>{"Ann | first", "Bob", "Cem"}));
    EXPECT_EQ(screen->reused, 0);
    screen->names.push_back("Dan");
    screen->table->reloadData();
    EXPECT_EQ(screen->reused, 3);
    EXPECT_EQ(driver.rows("table").back(), "Dan");
    // A picture set after the row was made reaches the cell that shows it.
    auto cell = screen->table->cellForRowAtIndexPath({0, 1});
    int changes = 0;
    cell->observe([&] { ++changes; });
    cell->imageView().setImage(std::make_shared<Image>(Image{1, 1, {0, 0, 0, 255}}));
    cell->setNeedsLayout();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(screen->table->cellForRowAtIndexPath({0, 9}));
}

TEST_F(TableViewTest, SingleSelectionLetsGoOfThePreviousRowAndSaysSo) {
    driver.tapRow("table", 0);
    driver.tapRow("table", 2);
    EXPECT_EQ(screen->journal, (std::vector<std::string>{"select Ann", "deselect Ann", "select Cem"}));
    EXPECT_EQ(screen->table->indexPathsForSelectedRows(), (std::vector<IndexPath>{{0, 2}}));
}

TEST_F(TableViewTest, MultipleSelectionTogglesRows) {
    screen->table->setAllowsMultipleSelection(true);
    driver.tapRow("table", 0);
    driver.tapRow("table", 1);
    driver.tapRow("table", 0);
    EXPECT_EQ(screen->journal, (std::vector<std::string>{"select Ann", "select Bob", "deselect Ann"}));
    EXPECT_EQ(screen->table->indexPathsForSelectedRows(), (std::vector<IndexPath>{{0, 1}}));
    EXPECT_TRUE(screen->table->cellForRowAtIndexPath({0, 1})->isSelected());
    screen->table->reloadData();
    EXPECT_TRUE(screen->table->indexPathsForSelectedRows().empty());
}

TEST_F(TableViewTest, DeleteOnlyWhereTheDataSourceAllowsAndRefreshRunsOnce) {
    EXPECT_FALSE(driver.deleteRow("table", 0));
    EXPECT_TRUE(driver.deleteRow("table", 1));
    EXPECT_FALSE(driver.deleteRow("table", 7));
    EXPECT_EQ(driver.rows("table"), (std::vector<std::string>{"Ann | first", "Cem"}));
    EXPECT_TRUE(driver.pullToRefresh("table"));
    EXPECT_TRUE(driver.pullToRefresh("table"));  // still refreshing: the pull does nothing
    EXPECT_EQ(screen->journal, (std::vector<std::string>{"delete Bob", "refresh"}));
    screen->table->refreshControl()->endRefreshing();
    driver.pullToRefresh("table");
    EXPECT_EQ(screen->journal.back(), "refresh");
    EXPECT_EQ(screen->journal.size(), 3u);
}

}  // namespace
}  // namespace kelpa::platform::ui
