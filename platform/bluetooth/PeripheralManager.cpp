#include "platform/bluetooth/PeripheralManager.h"

#include "platform/Environment.h"

namespace kelpa::platform {

namespace {
constexpr const char* kUnsupported = "Bluetooth LE is not supported on this device";
}

std::shared_ptr<PeripheralManager> PeripheralManager::initWithDelegate(
    std::weak_ptr<PeripheralManagerDelegate> delegate) {
    auto env = Environment::current();
    std::shared_ptr<PeripheralManager> manager(
        new PeripheralManager(std::move(delegate), env->bluetooth, env->mainQueue));
    manager->attach();
    return manager;
}

PeripheralManager::PeripheralManager(std::weak_ptr<PeripheralManagerDelegate> delegate,
                                     std::shared_ptr<BluetoothRadio> radio, std::shared_ptr<MainQueue> mainQueue)
    : delegate_(std::move(delegate)),
      radio_(std::move(radio)),
      mainQueue_(std::move(mainQueue)),
      state_(radio_ ? radio_->state() : ManagerState::unsupported) {}

PeripheralManager::~PeripheralManager() {
    if (radio_) radio_->disconnect(client_);
}

void PeripheralManager::attach() {
    std::weak_ptr<PeripheralManager> weak = weak_from_this();
    if (radio_) {
        client_ = radio_->connect(mainQueue_, [weak](ManagerState state) {
            if (auto self = weak.lock()) self->radioStateChanged(state);
        });
    }
    mainQueue_->post([weak] {
        if (auto self = weak.lock()) self->reportState();
    });
}

void PeripheralManager::radioStateChanged(ManagerState state) {
    state_ = state;
    if (state != ManagerState::poweredOn) {
        advertising_ = false;
        ++advertisingGeneration_;
    }
    reportState();
}

void PeripheralManager::reportState() {
    if (auto delegate = delegate_.lock()) delegate->peripheralManagerDidUpdateState(*this);
}

void PeripheralManager::addService(std::shared_ptr<MutableService> service) {
    if (!service) return;
    std::weak_ptr<PeripheralManager> weak = weak_from_this();
    auto report = [weak, service](std::optional<std::string> error) {
        auto self = weak.lock();
        if (!self) return;
        if (auto delegate = self->delegate_.lock()) delegate->didAddService(*self, *service, std::move(error));
    };
    if (!radio_) {
        mainQueue_->post([report] { report(kUnsupported); });
        return;
    }
    radio_->addService(client_, *service, report);
}

void PeripheralManager::startAdvertising(const AdvertisementData& data) {
    if (!radio_ || state_ != ManagerState::poweredOn) return;
    RadioAdvertisement advertisement;
    if (auto it = data.find(CBAdvertisementDataLocalNameKey); it != data.end() && it->second.text()) {
        advertisement.localName = *it->second.text();
    }
    if (auto it = data.find(CBAdvertisementDataServiceUUIDsKey); it != data.end() && it->second.uuids()) {
        for (const auto& uuid : *it->second.uuids()) {
            if (uuid.isValid()) advertisement.serviceUUIDs.push_back(uuid);
        }
    }
    advertising_ = true;
    const auto generation = ++advertisingGeneration_;
    std::weak_ptr<PeripheralManager> weak = weak_from_this();
    radio_->startAdvertising(client_, advertisement, [weak, generation](std::optional<std::string> error) {
        auto self = weak.lock();
        if (!self || generation != self->advertisingGeneration_) return;
        if (error) self->advertising_ = false;
    });
}

void PeripheralManager::stopAdvertising() {
    ++advertisingGeneration_;
    advertising_ = false;
    if (radio_) radio_->stopAdvertising(client_);
}

}  // namespace kelpa::platform
