#include "TestEnvironment.h"

#include "platform/ui/AlertController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/StoryboardSegue.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kelpa::platform::ui {
namespace {

// Every lifecycle call lands in one shared journal, as "<screen> <call>".
using Journal = std::vector<std::string>;

class Screen : public ViewController {
public:
    Screen(std::string name, Journal& journal) : name_(std::move(name)), journal_(journal) {}
    const char* className() const override { return "Screen"; }

    void loadView() override {
        ViewController::loadView();
        journal_.push_back(name_ + " loadView handed=" + handed);
        auto next = std::make_shared<Button>("next");
        next->setTitle("Next");
        connectSegue(next, "toNext");
        view()->addSubview(next);
        auto field = std::make_shared<TextField>("field");
        view()->addSubview(field);
    }
    void viewDidLoad() override { journal_.push_back(name_ + " viewDidLoad handed=" + handed); }
    void viewWillAppear(bool) override { journal_.push_back(name_ + " willAppear"); }
    void viewDidAppear(bool) override { journal_.push_back(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { journal_.push_back(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { journal_.push_back(name_ + " didDisappear"); }
    void touchesBegan() override { view()->endEditing(true); }

    bool shouldPerformSegueWithIdentifier(const std::string& identifier, View*) override {
        journal_.push_back(name_ + " should " + identifier);
        return allowSegue;
    }
    void prepareForSegue(StoryboardSegue& segue, View* sender) override {
        auto destination = std::dynamic_pointer_cast<Screen>(segue.destinationViewController());
        journal_.push_back(name_ + " prepare " + segue.identifier() + " loaded=" +
                           (destination->isViewLoaded() ? "yes" : "no") + " sender=" + (sender ? sender->name() : "-"));
        destination->handed = "from " + name_;
    }

    std::string handed = "nothing";
    bool allowSegue = true;

private:
    std::string name_;
    Journal& journal_;
};

class ToolkitTest : public ::testing::Test {
protected:
    ToolkitTest() {
        Storyboard::registerStoryboard("Test", [this](Storyboard& board) {
            board.registerScreen("A", [this] { return std::make_shared<Screen>("A", journal); });
            board.registerScreen("B", [this] { return std::make_shared<Screen>("B", journal); });
            board.registerScreen("Nav", [this] {
                return NavigationController::initWithRootViewController(std::make_shared<Screen>("A", journal));
            });
            board.registerSegue("Screen", "toNext", "B");
        });
        storyboard = Storyboard::storyboardWithName("Test");
    }

    kelpa::testing::TestEnvironment t;
    Journal journal;
    std::shared_ptr<Storyboard> storyboard;
    std::shared_ptr<Window> window = std::make_shared<Window>();
    Driver driver{window};
};

TEST_F(ToolkitTest, TheViewLoadsOnFirstUseSoHandedOverFieldsAreThereAtLoad) {
    auto a = std::dynamic_pointer_cast<Screen>(storyboard->instantiateViewControllerWithIdentifier("A"));
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_TRUE(journal.empty());
    a->handed = "early";
    a->loadViewIfNeeded();
    a->view();
    EXPECT_EQ(journal, (Journal{"A loadView handed=early", "A viewDidLoad handed=early"}));
    EXPECT_EQ(a->storyboard(), storyboard);
    EXPECT_FALSE(storyboard->instantiateViewControllerWithIdentifier("missing"));
    EXPECT_TRUE(t.logged("storyboard \"Test\" has no screen \"missing\""));
}

TEST_F(ToolkitTest, ASegueIsPreparedBeforeTheDestinationLoadsAndCanBeVetoed) {
    window->setRootViewController(storyboard->instantiateViewControllerWithIdentifier("Nav"));
    auto* a = dynamic_cast<Screen*>(driver.frontmost());
    ASSERT_TRUE(a);
    a->allowSegue = false;
    journal.clear();
    EXPECT_TRUE(driver.tap("next"));
    EXPECT_EQ(journal, (Journal{"A should toNext"}));
    EXPECT_EQ(driver.navigationStack(), (std::vector<std::string>{"Screen"}));

    a->allowSegue = true;
    journal.clear();
    driver.tap("next");
    EXPECT_EQ(journal, (Journal{"A should toNext", "A prepare toNext loaded=no sender=next", "A willDisappear",
                                "B loadView handed=from A", "B viewDidLoad handed=from A", "B willAppear",
                                "A didDisappear", "B didAppear"}));
    EXPECT_EQ(driver.navigationStack(), (std::vector<std::string>{"Screen", "Screen"}));

    // Code that performs a segue is not asked whether it may.
    journal.clear();
    driver.frontmost()->performSegueWithIdentifier("toNext", nullptr);
    EXPECT_EQ(journal.front(), "B prepare toNext loaded=no sender=-");
    EXPECT_EQ(driver.navigationStack().size(), 3u);

    driver.frontmost()->performSegueWithIdentifier("unknown", nullptr);
    EXPECT_TRUE(t.logged("Screen has no segue \"unknown\""));
}

TEST_F(ToolkitTest, NavigationPushesPopsAndPopsToRootWithAppearanceCalls) {
    auto root = std::make_shared<Screen>("A", journal);
    auto navigation = NavigationController::initWithRootViewController(root);
    window->setRootViewController(navigation);
    EXPECT_EQ(journal, (Journal{"A loadView handed=nothing", "A viewDidLoad handed=nothing", "A willAppear", "A didAppear"}));
    EXPECT_TRUE(root->isOnScreen());

    auto b = std::make_shared<Screen>("B", journal);
    auto c = std::make_shared<Screen>("C", journal);
    navigation->pushViewController(b, true);
    navigation->pushViewController(c, false);
    EXPECT_FALSE(navigation->lastTransitionOfStackAnimated());
    EXPECT_EQ(b->navigationController(), navigation.get());
    EXPECT_FALSE(root->isOnScreen());
    EXPECT_TRUE(c->isOnScreen());

    journal.clear();
    EXPECT_TRUE(driver.goBack());
    EXPECT_EQ(journal, (Journal{"C willDisappear", "B willAppear", "C didDisappear", "B didAppear"}));
    EXPECT_EQ(c->parentViewController(), nullptr);

    navigation->pushViewController(c, true);
    journal.clear();
    navigation->popToRootViewControllerAnimated(true);
    EXPECT_EQ(journal, (Journal{"C willDisappear", "A willAppear", "C didDisappear", "A didAppear"}));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_FALSE(driver.goBack());  // nothing below the root

    navigation->setNavigationBarHidden(true, false);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    EXPECT_FALSE(navigation->lastBarChangeAnimated());
}

TEST_F(ToolkitTest, TabsShowOneScreenAtATime) {
    auto tabs = std::make_shared<TabBarController>();
    auto a = std::make_shared<Screen>("A", journal);
    auto b = std::make_shared<Screen>("B", journal);
    tabs->setViewControllers({a, NavigationController::initWithRootViewController(b)});
    window->setRootViewController(tabs);
    EXPECT_TRUE(a->isAppeared());
    EXPECT_FALSE(b->isViewLoaded());  // a tab loads when first shown
    journal.clear();
    EXPECT_TRUE(driver.pickTab(1));
    EXPECT_EQ(journal, (Journal{"A willDisappear", "B loadView handed=nothing", "B viewDidLoad handed=nothing",
                                "B willAppear", "A didDisappear", "B didAppear"}));
    EXPECT_EQ(b->tabBarController(), tabs.get());
    EXPECT_FALSE(driver.pickTab(2));
}

TEST_F(ToolkitTest, ModalScreensStackAndAlertsLandOverTheFrontmostScreen) {
    auto tabs = std::make_shared<TabBarController>();
    auto a = std::make_shared<Screen>("A", journal);
    auto b = std::make_shared<Screen>("B", journal);
    tabs->setViewControllers({a, b});
    window->setRootViewController(tabs);
    b->loadViewIfNeeded();  // loaded but in the background

    auto modal = std::make_shared<Screen>("M", journal);
    a->presentViewController(modal, false);
    EXPECT_EQ(driver.frontmost(), modal.get());
    EXPECT_FALSE(modal->lastTransitionAnimated());
    EXPECT_FALSE(a->isOnScreen());

    // A screen in the background presents: the alert comes up over what the person looks at.
    journal.clear();
    auto alert = AlertController::alertControllerWithTitle("join request", "Bob wants to join Tour",
                                                           AlertController::Style::alert);
    std::vector<std::string> chosen;
    alert->addAction(AlertAction::actionWithTitle("Cancel", AlertAction::Style::cancel,
                                                  [&](AlertAction& action) { chosen.push_back(action.title()); }));
    alert->addAction(AlertAction::actionWithTitle("accept", AlertAction::Style::defaultStyle,
                                                  [&](AlertAction& action) { chosen.push_back(action.title()); }));
    b->presentViewController(alert, true);
    EXPECT_EQ(alert->presentingViewController(), modal.get());
    EXPECT_TRUE(journal.empty()) << "an alert leaves the screen below it on screen";
    EXPECT_TRUE(modal->isOnScreen());
    EXPECT_EQ(driver.alertTitle(), "join request");
    EXPECT_EQ(driver.alertMessage(), "Bob wants to join Tour");
    EXPECT_EQ(driver.alertActions(), (std::vector<std::string>{"Cancel", "accept"}));
    EXPECT_FALSE(driver.chooseAlertAction("missing"));
    EXPECT_TRUE(driver.chooseAlertAction("accept"));
    EXPECT_EQ(chosen, (std::vector<std::string>{"accept"}));
    EXPECT_FALSE(driver.alert());
    EXPECT_EQ(driver.frontmost(), modal.get());

    journal.clear();
    modal->dismissViewControllerAnimated(true);
    EXPECT_EQ(journal, (Journal{"M willDisappear", "M didDisappear", "A willAppear", "A didAppear"}));
    EXPECT_EQ(driver.frontmost(), a.get());
}

TEST_F(ToolkitTest, ReplacingTheRootTakesDownEveryPresentedScreen) {
    auto a = std::make_shared<Screen>("A", journal);
    window->setRootViewController(a);
    auto m = std::make_shared<Screen>("M", journal);
    a->presentViewController(m, false);
    journal.clear();
    window->setRootViewController(std::make_shared<Screen>("B", journal));
    EXPECT_EQ(journal, (Journal{"M willDisappear", "M didDisappear", "B loadView handed=nothing",
                                "B viewDidLoad handed=nothing", "B willAppear", "B didAppear"}));
    EXPECT_EQ(a->window(), nullptr);
    EXPECT_EQ(driver.frontmostClass(), "Screen");
}

TEST_F(ToolkitTest, TheDriverTypesTapsAndEndsEditingLikeAPerson) {
    window->setRootViewController(std::make_shared<Screen>("A", journal));
    EXPECT_TRUE(driver.type("field", "hello"));
    auto field = driver.find<TextField>("field");
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(driver.text("field"), "hello");
    driver.tapOutside();
    EXPECT_FALSE(field->isEditing());
    field->setEnabled(false);
    EXPECT_FALSE(driver.type("field", "x"));
    EXPECT_FALSE(driver.tap("missing"));
    EXPECT_EQ(driver.find<Button>("next")->accessibleName(), "Next");
}

}  // namespace
}  // namespace kelpa::platform::ui
