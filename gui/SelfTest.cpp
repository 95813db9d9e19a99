#include "gui/SelfTest.h"

#include "client/app/AppDelegate.h"
#include "client/app/LaunchViewController.h"
#include "client/app/ScreenSupport.h"
#include "client/contacts/AddContactViewController.h"
#include "client/contacts/ChatViewController.h"
#include "client/contacts/ContactsTableViewController.h"
#include "client/groups/AddContactsToGroupViewController.h"
#include "client/groups/AddUserToExitingGroupTableViewController.h"
#include "client/groups/AddWaypointsFromAdressViewController.h"
#include "client/groups/GroupDetailsViewController.h"
#include "client/groups/GroupMembersTableViewController.h"
#include "client/groups/GroupsTableViewController.h"
#include "client/location/AddAnnotationsViewController.h"
#include "client/location/WaypointsMapViewController.h"
#include "client/model/Group.h"
#include "client/model/Message.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "gui/FrontEnd.h"
#include "gui/QtMainQueue.h"
#include "gui/WidgetGalleryViewController.h"
#include "gui/adapters/ScreenAdapter.h"
#include "gui/map/TileLoader.h"
#include "platform/Environment.h"
#include "platform/FakeHttpClient.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/WorkerPool.h"
#include "platform/kits/UnconfiguredFacebookKit.h"
#include "platform/kits/UnconfiguredTwitterKit.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

#include <nlohmann/json.hpp>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <tuple>
#include <iostream>
#include <vector>

namespace kelpa::gui {

namespace ui = platform::ui;

namespace {
QStringList gMessages;
QtMessageHandler gPrevious = nullptr;

// QML reports through the engine and through Qt's log; both count.
void capture(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        const QString category = QString::fromUtf8(context.category ? context.category : "");
        const bool fromQml = category == "qml" || category == "js" || category.startsWith("qt.qml") ||
                             category.startsWith("qt.quick") || message.contains("qrc:/");
        if (fromQml) gMessages << message;
    }
    if (gPrevious) gPrevious(type, context, message);
}

// Lets the adapters hear of the change, QML build the page and the window draw it.
void settle(QQuickWindow* window) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (window) window->grabWindow();
}

struct Scene {
    QString name;
    std::function<std::shared_ptr<ui::ViewController>()> make;
    // Shown inside a navigation stack, as the app shows it.
    bool inNavigation = false;
    std::function<void(ui::ViewController&)> then = nullptr;
    // The window grows to show all of a long page in one picture.
    int height = 0;
};

// Groups for the group pages to show: Mia (1) leads the first and is joined to it.
std::vector<std::shared_ptr<Group>> sampleGroups() {
    auto member = [](const char* id, const char* name, bool leader, bool joined) {
        nlohmann::json m{{"User", {{"userID", id}, {"displayName", name}}}, {"isLeader", leader}, {"Device", nullptr}};
        if (joined) {
            m["Device"] = {{"deviceID", std::string("D") + id}};
            m["joined"] = "2026-03-02T08:00:00";
        }
        return m;
    };
    auto group = [&](const char* id, const char* description, int type, nlohmann::json members) {
        return Group::initWithJSON({{"groupID", id}, {"description", description}, {"groupType", type},
                                    {"created", "2026-02-20T10:00:00"}, {"startTime", "2026-03-01T08:00:00"},
                                    {"endTime", "2026-03-08T20:00:00"}, {"Members", members},
                                    {"Waypoints", nlohmann::json::array({{{"waypointID", "w1"}, {"lati", 48.1}, {"longi", 11.5}}})}});
    };
    return {group("17", "Isar convoy", 1,
                  nlohmann::json::array({member("1", "Mia", true, true), member("2", "Ann", false, true),
                                         member("3", "Ben", false, false)})),
            group("18", "Alps ride", 2, nlohmann::json::array({member("1", "Mia", false, false)})),
            group("19", "Lake walk", 3, nlohmann::json::array({member("1", "Mia", false, false)}))};
}

void signInSample() {
    User::setCurrentUser(User::initWithJSON({{"userID", "1"}, {"displayName", "Mia"}}));
}

std::shared_ptr<platform::Environment> sandbox(const QString& home) {
    auto env = std::make_shared<platform::Environment>();
    env->mainQueue = std::make_shared<platform::QtMainQueue>();
    env->workers = std::make_shared<platform::WorkerPool>();
    // No reply ever comes: screens that ask the service wait, as offline.
    env->http = std::make_shared<platform::FakeHttpClient>();
    env->preferences = std::make_shared<platform::Preferences>((home + "/preferences.json").toStdString());
    env->notifications = std::make_shared<platform::NotificationCenter>();
    env->facebook = std::make_shared<platform::UnconfiguredFacebookKit>();
    env->twitter = std::make_shared<platform::UnconfiguredTwitterKit>();
    env->documentsDirectory = (home + "/Documents").toStdString();
    env->strings = {{"Cancel", "Cancel"}};
    env->logSink = [](std::string_view line) { std::clog << line << '\n'; };
    return env;
}
}  // namespace

int SelfTest::run(const StartOptions& options) {
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "self-test: no temporary folder\n");
        return 1;
    }
    platform::Environment::install(sandbox(home.path()));
    gPrevious = qInstallMessageHandler(capture);
    int failures = 0;
    {
        // The delegate registers the storyboard "Main"; nothing is launched.
        auto delegate = std::make_shared<AppDelegate>();
        auto window = std::make_shared<ui::Window>();
        TileLoader tiles(platform::TileSource(""), (home.path() + "/tiles").toStdString());
        FrontEnd frontEnd(window, &tiles);
        if (!frontEnd.load()) {
            std::fprintf(stderr, "self-test: Main.qml did not load\n");
            ++failures;
        }
        QQuickWindow* quickWindow = frontEnd.window();

        auto main = [](const char* identifier) { return [identifier] { return ScreenSupport::mainScreen(identifier); }; };
        std::vector<Scene> scenes = {
            {"LaunchViewController", [] { return std::make_shared<LaunchViewController>(); }},
            {"AuthViewController", main("AuthViewControllerNav")},
            {"RegistrationViewController", main("RegistrationViewController"), true},
            {"PhoneVerificationViewController", main("PhoneVerificationViewController")},
            {"ProfileSetupViewController", main("ProfileSetupViewController")},
            {"PeripheralViewController", main("PeripheralViewController"), true},
            {"MapViewController", main("Tabs")},
            {"ProfileViewController",
             [] {
                 signInSample();
                 return ScreenSupport::mainScreen("Tabs");
             },
             false, [](ui::ViewController& tabs) { dynamic_cast<ui::TabBarController&>(tabs).setSelectedIndex(3); }},
            {"GroupsTableViewController", main("Tabs"), false,
             [](ui::ViewController& tabs) {
                 auto& bar = dynamic_cast<ui::TabBarController&>(tabs);
                 bar.setSelectedIndex(1);
                 auto* navigation = dynamic_cast<ui::NavigationController*>(bar.viewControllers().at(1).get());
                 auto* list = navigation ? dynamic_cast<GroupsTableViewController*>(navigation->topViewController()) : nullptr;
                 if (!list) return;
                 list->groups = sampleGroups();
                 Group::setJoinedGroup(list->groups.front());
                 list->groupsTableView->reloadData();
             }},
            {"GroupDetailsViewController",
             [] {
                 signInSample();
                 auto details = std::dynamic_pointer_cast<GroupDetailsViewController>(ScreenSupport::mainScreen("GroupDetails"));
                 if (details) details->group = sampleGroups().front();
                 return std::static_pointer_cast<ui::ViewController>(details);
             },
             true},
            {"NewGroupMenuViewController", main("NewGroupMenuViewController"), true},
            {"QuickJoinViewController", main("QuickJoinViewController"), true},
            {"GroupMembersTableViewController",
             [] {
                 signInSample();
                 auto members = std::dynamic_pointer_cast<GroupMembersTableViewController>(ScreenSupport::mainScreen("GroupMembers"));
                 if (members) members->group = sampleGroups().front();
                 return std::static_pointer_cast<ui::ViewController>(members);
             },
             true},
            // Planning a group, step by step, and a group's waypoints.
            {"AddDetailsToGroupViewController", main("PlannedGroup"), true},
            {"AddContactsToGroupViewController", main("AddContactsToGroupViewController"), true,
             [](ui::ViewController& screen) {
                 auto& step = dynamic_cast<AddContactsToGroupViewController&>(screen);
                 for (const char* name : {"Ann", "Ben", "Cleo"}) {
                     step.addUser(User::initWithJSON({{"userID", name}, {"displayName", name}}));
                 }
                 step.contactsTableView->tapRow({0, 1});
             }},
            {"AddStartEndViewController", main("AddStartEndViewController"), true},
            {"AddWaypointsFromAdressViewController", main("AddWaypointsFromAdressViewController"), true,
             [](ui::ViewController& screen) {
                 auto& step = dynamic_cast<AddWaypointsFromAdressViewController&>(screen);
                 step.waypoints = {{{48.137393, 11.575449}, "Marienplatz", ""}, {{48.152700, 11.592000}, "Turm", ""}};
                 step.waypointsTableView->reloadData();
             }},
            {"AddAnnotationsViewController",
             [] {
                 auto step = std::dynamic_pointer_cast<AddAnnotationsViewController>(
                     ScreenSupport::mainScreen("AddAnnotationsViewController"));
                 if (step) step->placemarks = {{{48.137393, 11.575449}, "", ""}, {{48.152700, 11.592000}, "", ""}};
                 return std::static_pointer_cast<ui::ViewController>(step);
             },
             true},
            {"WaypointsMapViewController",
             [] {
                 auto map = std::dynamic_pointer_cast<WaypointsMapViewController>(ScreenSupport::mainScreen("GroupWaypoints"));
                 if (map) {
                     map->group = sampleGroups().front();
                     map->group->waypoints.emplace();
                     for (const auto& [number, lati, longi] : {std::tuple{0, 48.1374, 11.5754}, {1, 48.1425, 11.5775},
                                                               {2, 48.1527, 11.5920}}) {
                         map->group->waypoints->push_back(
                             Waypoint::initWithJSON({{"number", number}, {"lati", lati}, {"longi", longi}}));
                     }
                 }
                 return std::static_pointer_cast<ui::ViewController>(map);
             },
             true},
            {"AddUserToExitingGroupTableViewController",
             [] {
                 auto invite = std::dynamic_pointer_cast<AddUserToExitingGroupTableViewController>(
                     ScreenSupport::mainScreen("AddUserToExitingGroup"));
                 if (!invite) return std::shared_ptr<ui::ViewController>();
                 invite->group = sampleGroups().front();
                 for (const char* name : {"Noah", "Lena", "Paul"}) {
                     invite->selectableContacts.push_back(User::initWithJSON({{"userID", name}, {"displayName", name}}));
                 }
                 return std::static_pointer_cast<ui::ViewController>(invite);
             },
             true,
             [](ui::ViewController& screen) {
                 auto& invite = dynamic_cast<AddUserToExitingGroupTableViewController&>(screen);
                 invite.contactsTableView->tapRow({0, 1});
             }},
            {"ScanForBluetoothGroupsViewController", main("ScanGroups"), true},
            // The contacts tab: the list, adding a contact and a conversation.
            {"ContactsTableViewController", main("Tabs"), false,
             [](ui::ViewController& tabs) {
                 auto& bar = dynamic_cast<ui::TabBarController&>(tabs);
                 bar.setSelectedIndex(2);
                 auto* navigation = dynamic_cast<ui::NavigationController*>(bar.viewControllers().at(2).get());
                 auto* list = navigation ? dynamic_cast<ContactsTableViewController*>(navigation->topViewController()) : nullptr;
                 if (!list) return;
                 for (const char* name : {"Noah", "Lena", "Paul"}) {
                     list->contacts.push_back(User::initWithJSON({{"userID", name}, {"displayName", name}}));
                 }
                 list->contactsTableView->reloadData();
             }},
            {"AddContactViewController", main("AddContactViewController"), true,
             [](ui::ViewController& screen) {
                 auto& add = dynamic_cast<AddContactViewController&>(screen);
                 for (const auto& [id, name] : {std::pair{"12", "Noah"}, {"17", "Lena"}, {"23", "Paul"}}) {
                     add.availableUsers.push_back(User::initWithJSON({{"userID", id}, {"displayName", name}}));
                 }
                 add.availableUsersTableView->reloadData();
             }},
            {"ChatViewController",
             [] {
                 signInSample();
                 auto chat = std::dynamic_pointer_cast<ChatViewController>(ScreenSupport::mainScreen("ChatViewController"));
                 if (!chat) return std::shared_ptr<ui::ViewController>();
                 chat->recipient = User::initWithJSON({{"userID", "2"}, {"displayName", "Noah"}});
                 chat->messages.emplace();
                 // Newest first, as the service lists a conversation.
                 for (const auto& [from, text, sent] :
                      {std::tuple{"2", "See you at the station!", "2026-03-02T08:42:00"},
                       {"1", "Running five minutes late, sorry", "2026-03-02T08:40:00"},
                       {"2", "Where are you?", "2026-03-02T08:35:00"}}) {
                     chat->messages->push_back(Message::initWithJSON(
                         {{"messageID", sent}, {"text", text}, {"fromUserID", from}, {"toUserID", "x"}, {"sent", sent}}));
                 }
                 return std::static_pointer_cast<ui::ViewController>(chat);
             },
             true},
            {"WidgetGalleryViewController", [] { return std::make_shared<WidgetGalleryViewController>(); }, true,
             nullptr, 1900},
            {"AlertController", main("PhoneVerificationViewController"), false,
             [](ui::ViewController& screen) {
                 auto alert = ui::AlertController::alertControllerWithTitle("Failed", "code is not equal to code",
                                                                            ui::AlertController::Style::alert);
                 alert->addAction(ui::AlertAction::actionWithTitle("Cancel", ui::AlertAction::Style::cancel, nullptr));
                 alert->addAction(ui::AlertAction::actionWithTitle("OK", ui::AlertAction::Style::defaultStyle, nullptr));
                 screen.presentViewController(alert, true);
             }},
            {"ImagePickerController", main("ProfileSetupViewController"), false,
             [](ui::ViewController& screen) { screen.presentViewController(std::make_shared<ui::ImagePickerController>(), true); }},
        };

        QSet<QString> shown;
        for (const auto& scene : scenes) {
            const int before = static_cast<int>(gMessages.size() + frontEnd.warnings().size());
            auto screen = scene.make();
            if (!screen) {
                std::fprintf(stderr, "self-test: no screen for %s\n", qPrintable(scene.name));
                ++failures;
                continue;
            }
            if (quickWindow) quickWindow->resize(390, scene.height > 0 ? scene.height : 844);
            window->setRootViewController(scene.inNavigation ? ui::NavigationController::initWithRootViewController(screen)
                                                             : screen);
            settle(quickWindow);
            if (scene.then) {
                scene.then(*screen);
                settle(quickWindow);
            }
            shown << QString::fromUtf8(window->frontmostViewController()->className());
            if (options.screenshotDir && quickWindow) {
                QDir().mkpath(QString::fromStdString(options.screenshotDir->string()));
                quickWindow->grabWindow().save(QString::fromStdString((*options.screenshotDir / "").string()) +
                                               "selftest-" + scene.name + ".png");
            }
            const int after = static_cast<int>(gMessages.size() + frontEnd.warnings().size());
            std::fprintf(stderr, "self-test: %s %s\n", qPrintable(scene.name), after == before ? "ok" : "has QML warnings");
        }
        window->setRootViewController(nullptr);
        settle(quickWindow);

        // Every page file loads, also one no scene above shows.
        QDirIterator pages(":/qml/screens", {"*.qml"});
        while (pages.hasNext()) {
            const QString file = pages.next();
            const QString className = QFileInfo(file).baseName();
            if (shown.contains(className)) continue;
            QQmlComponent component(&frontEnd.engine(), QUrl("qrc" + file));
            if (component.isError()) {
                for (const auto& error : component.errors()) gMessages << error.toString();
            }
            std::fprintf(stderr, "self-test: %s compiled (no screen of that class here)\n", qPrintable(className));
        }

        for (const auto& warning : frontEnd.warnings()) gMessages << warning;
    }
    qInstallMessageHandler(gPrevious);
    gMessages.removeDuplicates();
    for (const auto& message : std::as_const(gMessages)) std::fprintf(stderr, "self-test: QML: %s\n", qPrintable(message));
    failures += static_cast<int>(gMessages.size());
    std::fprintf(stderr, "self-test: %s\n", failures == 0 ? "passed" : "FAILED");
    platform::Environment::install(nullptr);
    return failures == 0 ? 0 : 1;
}

}  // namespace kelpa::gui
