#include "QtApp.h"
#include "TestEnvironment.h"
#include "gui/QtMainQueue.h"
#include "gui/adapters/ButtonAdapter.h"
#include "gui/adapters/LayerListModel.h"
#include "gui/adapters/ScreenAdapter.h"
#include "gui/adapters/TableViewAdapter.h"
#include "gui/adapters/TextFieldAdapter.h"
#include "gui/adapters/WindowAdapter.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace kelpa::testing {
namespace {

namespace ui = platform::ui;
using namespace gui;
using namespace std::chrono_literals;

// A screen with a few widgets and a table it is the data source and delegate of.
class SampleScreen : public ui::ViewController,
                     public ui::TableViewDataSource,
                     public ui::TableViewDelegate,
                     public ui::ImagePickerControllerDelegate {
public:
    explicit SampleScreen(const char* name = "SampleScreen") : name_(name) {}
    const char* className() const override { return name_; }

    void loadView() override {
        ViewController::loadView();
        auto box = std::make_shared<ui::View>("box");
        view()->addSubview(box);
        field = std::make_shared<ui::TextField>("field");
        field->setPlaceholder("Name");
        box->addSubview(field);
        button = std::make_shared<ui::Button>("button");
        button->setTitle("Go");
        button->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { ++taps; });
        view()->addSubview(button);
        auto label = std::make_shared<ui::Label>("label");
        label->setText("Hello");
        view()->addSubview(label);
        table = std::make_shared<ui::TableView>("table");
        refresh = std::make_shared<ui::RefreshControl>("refresh");
        refresh->addTarget(ui::Control::Event::valueChanged, [this](ui::Control&) { ++pulls; });
        table->setRefreshControl(refresh);
        view()->addSubview(table);
    }
    void viewDidLoad() override {
        table->setDataSource(weakAs<ui::TableViewDataSource>());
        table->setDelegate(weakAs<ui::TableViewDelegate>());
        table->reloadData();
    }
    void touchesBegan() override { view()->endEditing(true); }

    int numberOfRowsInSection(ui::TableView&, int) override { return static_cast<int>(titles.size()); }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& path) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
        if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::value1, "Cell");
        cell->textLabel().setText(titles[static_cast<std::size_t>(path.row)]);
        cell->detailTextLabel()->setText("d" + std::to_string(path.row));
        return cell;
    }
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath& path) override { return path.row == 1; }
    void commitEditingStyle(ui::TableView&, ui::TableViewCellEditingStyle, const ui::IndexPath& path) override {
        deleted.push_back(path.row);
    }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& path) override { selected.push_back(path.row); }

    void didFinishPickingMediaWithInfo(ui::ImagePickerController& picker, const ui::ImagePickerInfo& info) override {
        auto found = info.find(ui::UIImagePickerControllerOriginalImage);
        picked = found == info.end() ? nullptr : found->second;
        finished = true;
        picker.dismissViewControllerAnimated(true);
    }
    void imagePickerControllerDidCancel(ui::ImagePickerController& picker) override {
        cancelled = true;
        picker.dismissViewControllerAnimated(true);
    }

    std::vector<std::string> titles{"one", "two", "three"};
    std::shared_ptr<ui::TextField> field;
    std::shared_ptr<ui::Button> button;
    std::shared_ptr<ui::TableView> table;
    std::shared_ptr<ui::RefreshControl> refresh;
    int taps = 0;
    int pulls = 0;
    std::vector<int> deleted;
    std::vector<int> selected;
    std::shared_ptr<const platform::Image> picked;
    bool finished = false;
    bool cancelled = false;

private:
    const char* name_;
};

class AdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        window->setRootViewController(screen);
        spinOnce();
    }
    ScreenAdapter* screenAdapter() { return adapters.adapterFor(screen); }
    template <class T>
    T* widget(const char* name) {
        return qobject_cast<T*>(screenAdapter()->widgetAdapter(name));
    }
    bool loggedSomething(const std::string& part) {
        for (const auto& line : t.logLines()) {
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }

    TestEnvironment t;
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<SampleScreen> screen = std::make_shared<SampleScreen>();
    WindowAdapter adapters{window};
};

TEST_F(AdapterTest, AWidgetIsFoundByItsFieldNameAndIsTheSameObjectEveryTime) {
    auto* field = screenAdapter()->widget("field");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field, screenAdapter()->widget("field"));
    EXPECT_TRUE(qobject_cast<TextFieldAdapter*>(field));
    EXPECT_EQ(field->property("kind").toString(), "TextField");
    EXPECT_EQ(field->property("accessibleName").toString(), "Name");  // the placeholder
}

TEST_F(AdapterTest, AMissingNameGivesAStandInThatShowsNothingAndIsLogged) {
    auto* missing = screenAdapter()->widgetAdapter("nosuch");
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->exists());
    EXPECT_FALSE(missing->isVisible());
    EXPECT_EQ(missing->kind(), "Missing");
    EXPECT_TRUE(t.logged("screen SampleScreen has no widget \"nosuch\""));
}

TEST_F(AdapterTest, HidingAContainerHidesWhatIsInItAndTellsQmlOncePerTurn) {
    auto* field = widget<TextFieldAdapter>("field");
    QSignalSpy changed(field, &WidgetAdapter::changed);
    EXPECT_TRUE(field->isVisible());
    screen->view()->viewNamed("box")->setHidden(true);
    screen->field->setText("a");
    screen->field->setText("ab");
    EXPECT_EQ(changed.count(), 0);  // not in the middle of the model's change
    spinOnce();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(field->text(), "ab");
}

TEST_F(AdapterTest, TypingBeginsEditingAndATouchOutsideEndsIt) {
    auto* field = widget<TextFieldAdapter>("field");
    EXPECT_TRUE(field->setText("Anna"));
    EXPECT_EQ(screen->field->text(), "Anna");
    EXPECT_TRUE(screen->field->isEditing());
    screenAdapter()->tapOutside();
    EXPECT_FALSE(screen->field->isEditing());
    screen->field->setEnabled(false);
    EXPECT_FALSE(field->setText("Bert"));
    EXPECT_FALSE(field->beginEditing());
    EXPECT_EQ(screen->field->text(), "Anna");
}

TEST_F(AdapterTest, ButtonsTakeTapsOnlyWhenAPersonCouldTapThem) {
    auto* button = widget<ButtonAdapter>("button");
    struct Case {
        bool hidden;
        bool enabled;
        bool interaction;
        bool taken;
    };
    const Case cases[] = {{false, true, true, true},
                          {true, true, true, false},
                          {false, false, true, false},
                          {false, true, false, false}};
    for (const auto& c : cases) {
        screen->button->setHidden(c.hidden);
        screen->button->setEnabled(c.enabled);
        screen->view()->setUserInteractionEnabled(c.interaction);
        const int before = screen->taps;
        EXPECT_EQ(button->tap(), c.taken);
        EXPECT_EQ(screen->taps - before, c.taken ? 1 : 0);
    }
}

TEST_F(AdapterTest, TableRowsShowWhatTheCellsHold) {
    auto* table = widget<TableViewAdapter>("table");
    auto* rows = table->rowModel();
    ASSERT_EQ(rows->rowCount(), 3);
    const auto roles = rows->roleNames();
    auto role = [&](const char* name) { return roles.key(name); };
    EXPECT_EQ(rows->data(rows->index(1), role("title")).toString(), "two");
    EXPECT_EQ(rows->data(rows->index(1), role("detail")).toString(), "d1");
    EXPECT_EQ(rows->data(rows->index(1), role("cellStyle")).toString(), "value1");
    EXPECT_EQ(rows->data(rows->index(1), role("accessory")).toString(), "none");
    EXPECT_FALSE(rows->data(rows->index(0), role("canDelete")).toBool());
    EXPECT_TRUE(rows->data(rows->index(1), role("canDelete")).toBool());
    EXPECT_FALSE(rows->data(rows->index(0), role("hasImage")).toBool());
}

TEST_F(AdapterTest, ATapSelectsARowWithoutRebuildingTheRows) {
    auto* table = widget<TableViewAdapter>("table");
    auto* rows = table->rowModel();
    QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
    QSignalSpy data(rows, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(table->tapRow(2));
    EXPECT_EQ(screen->selected, std::vector<int>{2});
    spinOnce();
    EXPECT_EQ(reset.count(), 0);
    EXPECT_GE(data.count(), 1);
    EXPECT_TRUE(rows->data(rows->index(2), rows->roleNames().key("selected")).toBool());
    EXPECT_FALSE(table->tapRow(7));
}

TEST_F(AdapterTest, AReloadWithOtherRowsResetsTheModel) {
    auto* rows = widget<TableViewAdapter>("table")->rowModel();
    QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
    screen->titles = {"only"};
    screen->table->reloadData();
    spinOnce();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(rows->data(rows->index(0), rows->roleNames().key("title")).toString(), "only");
}

TEST_F(AdapterTest, APictureThatArrivesLateRefreshesItsRow) {
    auto* rows = widget<TableViewAdapter>("table")->rowModel();
    QSignalSpy data(rows, &QAbstractItemModel::dataChanged);
    auto image = std::make_shared<platform::Image>(platform::Image{2, 1, {255, 0, 0, 255, 0, 0, 255, 255}});
    screen->table->cellForRowAtIndexPath({0, 1})->imageView().setImage(image);
    spinOnce();
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data.at(0).at(0).value<QModelIndex>().row(), 1);
    const QImage picture = rows->data(rows->index(1), rows->roleNames().key("image")).value<QImage>();
    ASSERT_EQ(picture.size(), QSize(2, 1));
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(0, 0, 255));
}

TEST_F(AdapterTest, AnAccessoryWithoutAPictureShowsWhatItStandsFor) {
    auto* rows = widget<TableViewAdapter>("table")->rowModel();
    const auto role = rows->roleNames().key("accessoryName");
    auto cell = screen->table->cellForRowAtIndexPath({0, 0});
    auto mark = std::make_shared<ui::ImageView>(ui::ImageView::ImagePtr());
    mark->setAccessibilityLabel("Leader");
    cell->setAccessoryView(mark);
    spinOnce();
    EXPECT_EQ(rows->data(rows->index(0), role).toString(), "Leader");
    EXPECT_FALSE(rows->data(rows->index(0), rows->roleNames().key("hasAccessoryImage")).toBool());
    EXPECT_EQ(rows->data(rows->index(1), role).toString(), "");
    mark->setHidden(true);
    spinOnce();
    EXPECT_EQ(rows->data(rows->index(0), role).toString(), "");
}

TEST_F(AdapterTest, OnlyRowsThatTakeADeleteCanBeDeleted) {
    auto* table = widget<TableViewAdapter>("table");
    EXPECT_FALSE(table->canDeleteRow(0));
    EXPECT_FALSE(table->deleteRow(0));
    EXPECT_TRUE(table->canDeleteRow(1));
    EXPECT_TRUE(table->deleteRow(1));
    EXPECT_EQ(screen->deleted, std::vector<int>{1});
}

TEST_F(AdapterTest, APullRefreshesOnceUntilTheScreenEndsIt) {
    auto* table = widget<TableViewAdapter>("table");
    QSignalSpy changed(table, &WidgetAdapter::changed);
    EXPECT_TRUE(table->isRefreshable());
    EXPECT_TRUE(table->pull());
    EXPECT_TRUE(table->pull());  // refreshing already: the control ignores it
    EXPECT_EQ(screen->pulls, 1);
    spinOnce();
    EXPECT_TRUE(table->isRefreshing());
    EXPECT_EQ(changed.count(), 1);
    screen->refresh->endRefreshing();
    spinOnce();
    EXPECT_FALSE(table->isRefreshing());
    EXPECT_EQ(changed.count(), 2);
    screen->table->setRefreshControl(nullptr);
    EXPECT_FALSE(table->pull());
}

TEST_F(AdapterTest, AnAlertIsDrawnOverTheScreenItStandsOn) {
    auto* layers = adapters.layerList();
    ASSERT_EQ(layers->count(), 1);
    QSignalSpy inserted(layers, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(layers, &QAbstractItemModel::rowsRemoved);
    auto alert = ui::AlertController::alertControllerWithTitle("Failed", "no", ui::AlertController::Style::alert);
    bool chosen = false;
    alert->addAction(ui::AlertAction::actionWithTitle("OK", ui::AlertAction::Style::defaultStyle,
                                                      [&](ui::AlertAction&) { chosen = true; }));
    screen->presentViewController(alert, true);
    spinOnce();
    ASSERT_EQ(layers->count(), 2);
    EXPECT_EQ(layers->at(0), screenAdapter());  // kept, not made again
    EXPECT_EQ(inserted.count(), 1);
    auto* alertAdapter = layers->at(1);
    EXPECT_EQ(alertAdapter->kind(), "alert");
    EXPECT_EQ(alertAdapter->title(), "Failed");
    EXPECT_EQ(alertAdapter->message(), "no");
    ASSERT_EQ(alertAdapter->actions().size(), 1);
    EXPECT_EQ(alertAdapter->actions()[0].toMap()["title"].toString(), "OK");
    EXPECT_FALSE(alertAdapter->choose("Nope"));
    EXPECT_TRUE(alertAdapter->choose("OK"));
    EXPECT_TRUE(chosen);
    spinOnce();
    EXPECT_EQ(layers->count(), 1);
    EXPECT_EQ(removed.count(), 1);
}

TEST_F(AdapterTest, AFullScreenPresentationHidesWhatIsBelow) {
    auto other = std::make_shared<SampleScreen>("OtherScreen");
    screen->presentViewController(other, false);
    spinOnce();
    auto* layers = adapters.layerList();
    ASSERT_EQ(layers->count(), 1);
    EXPECT_EQ(layers->at(0)->className(), "OtherScreen");
    EXPECT_EQ(adapters.frontmostClass(), "OtherScreen");
}

TEST_F(AdapterTest, ANavigationStackShowsItsTopAndGoesBack) {
    auto navigation = ui::NavigationController::initWithRootViewController(std::make_shared<SampleScreen>("Bottom"));
    window->setRootViewController(navigation);
    auto* nav = adapters.adapterFor(navigation);
    EXPECT_EQ(nav->kind(), "navigation");
    EXPECT_FALSE(nav->canGoBack());
    EXPECT_FALSE(nav->goBack());
    QSignalSpy children(nav, &ScreenAdapter::childrenChanged);
    EXPECT_EQ(nav->childCount(), 1);
    navigation->pushViewController(std::make_shared<SampleScreen>("Top"), true);
    spinOnce();
    EXPECT_EQ(children.count(), 1);
    ASSERT_EQ(nav->childCount(), 2);
    auto* top = qobject_cast<ScreenAdapter*>(nav->current());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->className(), "Top");
    EXPECT_TRUE(top->inNavigation());
    EXPECT_TRUE(nav->canGoBack());
    EXPECT_TRUE(nav->goBack());
    spinOnce();
    EXPECT_EQ(qobject_cast<ScreenAdapter*>(nav->current())->className(), "Bottom");
    EXPECT_EQ(children.count(), 2);
}

TEST_F(AdapterTest, TabsAreChosenByIndex) {
    auto tabs = std::make_shared<ui::TabBarController>();
    auto first = std::make_shared<SampleScreen>("First");
    first->setTitle("One");
    auto second = std::make_shared<SampleScreen>("Second");
    second->setTitle("Two");
    tabs->setViewControllers({first, second});
    window->setRootViewController(tabs);
    auto* adapter = adapters.adapterFor(tabs);
    EXPECT_EQ(adapter->kind(), "tabs");
    ASSERT_EQ(adapter->childCount(), 2);
    EXPECT_EQ(qobject_cast<ScreenAdapter*>(adapter->children()[1].value<QObject*>())->title(), "Two");
    EXPECT_TRUE(adapter->select(1));
    EXPECT_FALSE(adapter->select(2));
    EXPECT_EQ(adapter->selectedIndex(), 1);
    EXPECT_EQ(qobject_cast<ScreenAdapter*>(adapter->current())->className(), "Second");
}

TEST_F(AdapterTest, AScreenThatHasGoneLetsGoOfItsAdapterAfterAWhile) {
    auto other = std::make_shared<SampleScreen>("Gone");
    window->setRootViewController(other);
    QPointer<ScreenAdapter> gone = adapters.adapterFor(other);
    window->setRootViewController(screen);
    other.reset();
    spinOnce();
    ASSERT_TRUE(gone);  // QML may still hold it for a moment
    EXPECT_TRUE(gone->title().isEmpty());
    EXPECT_TRUE(spinUntil([&] { return gone.isNull(); }, 3s));
}

TEST_F(AdapterTest, AScreenWithoutAPageOfItsOwnGetsTheGenericOne) {
    QTemporaryDir pages;
    ASSERT_TRUE(QDir(pages.path()).mkpath("screens"));
    QFile own(pages.path() + "/screens/SampleScreen.qml");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    ScreenAdapter::setPageDirectory(pages.path() + "/screens");
    EXPECT_TRUE(screenAdapter()->hasOwnPage());
    EXPECT_EQ(screenAdapter()->pageUrl().toLocalFile(), pages.path() + "/screens/SampleScreen.qml");
    auto other = std::make_shared<SampleScreen>("Unpaged");
    auto* unpaged = adapters.adapterFor(other);
    EXPECT_FALSE(unpaged->hasOwnPage());
    EXPECT_TRUE(unpaged->pageUrl().toLocalFile().endsWith("components/GenericScreen.qml"));
    // In the app the pages are resources; this test binary has none.
    ScreenAdapter::setPageDirectory(":/qml/screens");
    EXPECT_EQ(screenAdapter()->pageUrl(), QUrl("qrc:/qml/components/GenericScreen.qml"));
}

TEST_F(AdapterTest, TheGenericPageListsTheNamedWidgetsButNotTheInsideOfTables) {
    QStringList names;
    for (const auto& w : screenAdapter()->widgets()) names << qobject_cast<WidgetAdapter*>(w.value<QObject*>())->name();
    EXPECT_EQ(names, (QStringList{"field", "button", "label", "table"}));
}

TEST_F(AdapterTest, APickedFileReachesThePickerAsAPicture) {
    t.env().mainQueue = std::make_shared<platform::QtMainQueue>();
    QTemporaryDir folder;
    QImage image(3, 2, QImage::Format_RGBA8888);
    image.fill(QColor(10, 20, 30));
    const QString file = folder.path() + "/me.png";
    ASSERT_TRUE(image.save(file));
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setDelegate(std::static_pointer_cast<ui::ImagePickerControllerDelegate>(screen));
    screen->presentViewController(picker, true);
    auto* adapter = adapters.adapterFor(picker);
    EXPECT_EQ(adapter->kind(), "imagePicker");
    EXPECT_EQ(adapter->sourceType(), "photoLibrary");
    EXPECT_TRUE(adapter->finishPicking(QUrl::fromLocalFile(file).toString()));
    ASSERT_TRUE(spinUntil([&] { return screen->finished; }));
    ASSERT_TRUE(screen->picked);
    EXPECT_EQ(screen->picked->width, 3);
    EXPECT_EQ(screen->picked->height, 2);
    EXPECT_EQ(screen->picked->rgba[0], 10);
}

TEST_F(AdapterTest, AFileThatIsNoPictureEndsThePickingWithout) {
    t.env().mainQueue = std::make_shared<platform::QtMainQueue>();
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setDelegate(std::static_pointer_cast<ui::ImagePickerControllerDelegate>(screen));
    screen->presentViewController(picker, true);
    EXPECT_TRUE(adapters.adapterFor(picker)->finishPicking("/no/such/file.png"));
    ASSERT_TRUE(spinUntil([&] { return screen->finished; }));
    EXPECT_FALSE(screen->picked);
    EXPECT_TRUE(loggedSomething("cannot read"));
}

TEST_F(AdapterTest, CancellingThePickerTellsTheScreen) {
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setDelegate(std::static_pointer_cast<ui::ImagePickerControllerDelegate>(screen));
    screen->presentViewController(picker, true);
    EXPECT_TRUE(adapters.adapterFor(picker)->cancel());
    EXPECT_TRUE(screen->cancelled);
    EXPECT_FALSE(screenAdapter()->cancel());  // not a picker
}

}  // namespace
}  // namespace kelpa::testing
