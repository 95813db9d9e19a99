#include "client/bluetooth/MasterViewController.h"

#include "client/bluetooth/AdvertisedService.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "client/service/JSONConversion.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Bundle.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace kelpa {

using platform::ui::AlertAction;
using platform::ui::AlertController;

namespace {
// What the base screens share across the process.
struct MasterState {
    std::shared_ptr<Group> groupToAdvertise;
    std::vector<std::weak_ptr<MasterViewController>> loaded;
    std::uint64_t nextLoaded = 1;
    std::uint64_t nextAppeared = 1;
};

MasterState& state() { return platform::Environment::current()->local<MasterState>(); }

std::string displayNameOf(const User& user) { return user.displayName.value_or("(null)"); }
}  // namespace

std::shared_ptr<Group> MasterViewController::getGroupToAdvertise() { return state().groupToAdvertise; }

void MasterViewController::setGroupToAdvertise(std::shared_ptr<Group> group) {
    state().groupToAdvertise = std::move(group);
}

void MasterViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    auto& shared = state();
    loadedOrder_ = shared.nextLoaded++;
    shared.loaded.push_back(weakAs<MasterViewController>());
    // Never removed: the observer lives as long as the screen does.
    platform::Environment::current()->notifications->addObserver(
        "bluetoothJoinRequested", [weak = weakAs<MasterViewController>()](const platform::Notification& notification) {
            if (auto self = weak.lock()) self->bluetoothJoinRequested(notification);
        });
}

void MasterViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    appearedOrder_ = state().nextAppeared++;
}

bool MasterViewController::handlesJoinRequests() const {
    auto& shared = state();
    const MasterViewController* chosen = nullptr;
    for (const auto& weak : shared.loaded) {
        auto screen = weak.lock();
        if (!screen) continue;
        if (!chosen || std::make_pair(screen->appearedOrder_, screen->loadedOrder_) >
                           std::make_pair(chosen->appearedOrder_, chosen->loadedOrder_)) {
            chosen = screen.get();
        }
    }
    // Forget the screens that are gone.
    shared.loaded.erase(std::remove_if(shared.loaded.begin(), shared.loaded.end(),
                                       [](const auto& weak) { return weak.expired(); }),
                        shared.loaded.end());
    return chosen == this;
}

void MasterViewController::startAdvertising() {
    if (peripheralManager && peripheralManager->isAdvertising()) return;
    peripheralManager = platform::PeripheralManager::initWithDelegate(weakAs<platform::PeripheralManagerDelegate>());
}

void MasterViewController::stopAdvertising() {
    if (peripheralManager && peripheralManager->isAdvertising()) peripheralManager->stopAdvertising();
}

void MasterViewController::stopAdvertisingEverywhere() {
    for (const auto& weak : state().loaded) {
        if (auto screen = weak.lock()) screen->stopAdvertising();
    }
}

void MasterViewController::setupService() {
    auto published = AdvertisedService::make();
    customCharacteristic = published.characteristic;
    peripheralManager->addService(published.service);
}

void MasterViewController::peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) {
    if (peripheral.state() == platform::ManagerState::poweredOn && peripheralManager) setupService();
    platform::log(AdvertisedService::stateLine(peripheral.state()));
}

void MasterViewController::didAddService(platform::PeripheralManager& peripheral, const platform::MutableService&,
                                         std::optional<std::string> error) {
    if (error) return;
    // The group to advertise as it is now, not as it was when advertising was asked for.
    auto group = getGroupToAdvertise();
    if (!group) return;
    peripheral.startAdvertising(AdvertisedService::advertisement(group->groupID.value_or("(null)")));
}

void MasterViewController::bluetoothJoinRequested(const platform::Notification& notification) {
    if (!handlesJoinRequests()) return;
    const auto* payload = std::any_cast<nlohmann::json>(&notification.object);
    const nlohmann::json* objectID = payload ? JSONConversion::member(*payload, "acme-objectID") : nullptr;
    const std::string requesterID = objectID ? JSONConversion::valueText(*objectID) : "(null)";
    auto self = std::static_pointer_cast<MasterViewController>(shared_from_this());
    User::getUserFromID(requesterID, [self](std::shared_ptr<User> requester, Info) {
        if (!requester || !getGroupToAdvertise()) return;
        auto me = User::getCurrentUser();
        if (!me) return;
        me->getContactsWithCompletitionHandler([self, requester](std::optional<RecordList<User>> contacts, Info error) {
            if (contacts && !error) {
                for (const auto& contact : *contacts) {
                    if (contact->userID == requester->userID) {
                        self->inviteRequester(requester);
                        return;
                    }
                }
            }
            auto group = getGroupToAdvertise();
            if (!group) return;
            auto alert = AlertController::alertControllerWithTitle(
                "join request",
                fmt::format("{} wants to join {}", displayNameOf(*requester), group->jDescription.value_or("(null)")),
                AlertController::Style::alert);
            alert->addAction(AlertAction::actionWithTitle(platform::ui::Bundle::localizedString("Cancel"),
                                                          AlertAction::Style::cancel,
                                                          [](AlertAction&) { platform::log("Cancel action"); }));
            alert->addAction(AlertAction::actionWithTitle("accept", AlertAction::Style::defaultStyle,
                                                          [self, requester](AlertAction&) { self->inviteRequester(requester); }));
            self->presentViewController(alert, true);
        });
    });
}

void MasterViewController::inviteRequester(const std::shared_ptr<User>& requester) {
    auto group = getGroupToAdvertise();
    if (!group) return;
    group->inviteUsers({requester}, [](std::int32_t code, Info info) {
        if (code == 1) platform::log(info.value_or("(null)"));
    });
}

}  // namespace kelpa
