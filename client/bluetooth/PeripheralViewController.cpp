#include "client/bluetooth/PeripheralViewController.h"

#include "client/bluetooth/AdvertisedService.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/Label.h"

namespace kelpa {

void PeripheralViewController::loadView() {
    ViewController::loadView();
    setTitle("Be found nearby");
    auto hint = std::make_shared<platform::ui::Label>("hint");
    hint->setText("Your phone is telling people nearby who you are, so a group's creator can add you.");
    view()->addSubview(hint);
}

void PeripheralViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    peripheralManager = platform::PeripheralManager::initWithDelegate(weakAs<platform::PeripheralManagerDelegate>());
}

void PeripheralViewController::setupService() {
    auto published = AdvertisedService::make();
    customCharacteristic = published.characteristic;
    peripheralManager->addService(published.service);
}

void PeripheralViewController::peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) {
    if (peripheral.state() == platform::ManagerState::poweredOn && peripheralManager) setupService();
    platform::log(AdvertisedService::stateLine(peripheral.state()));
}

void PeripheralViewController::didAddService(platform::PeripheralManager& peripheral, const platform::MutableService&,
                                             std::optional<std::string> error) {
    if (error) return;
    auto me = User::getCurrentUser();
    if (!me) return;
    peripheral.startAdvertising(AdvertisedService::advertisement(me->userID.value_or("(null)")));
}

}  // namespace kelpa
