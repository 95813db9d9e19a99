#include "platform/bluetooth/CentralManager.h"

#include "platform/Environment.h"

#include <algorithm>

namespace kelpa::platform {

namespace {
// Advertiser and contents in one key; the separators cannot occur in a UUID and a name
// carrying them only makes two keys differ.
std::string reportKey(const RadioDiscovery& discovery) {
    std::string key = discovery.peripheralIdentifier;
    key += '\x1f';
    if (discovery.advertisement.localName) {
        key += '+';
        key += *discovery.advertisement.localName;
    }
    for (const auto& uuid : discovery.advertisement.serviceUUIDs) {
        key += '\x1f';
        key += uuid.UUIDString();
    }
    return key;
}
}  // namespace

std::shared_ptr<CentralManager> CentralManager::initWithDelegate(std::weak_ptr<CentralManagerDelegate> delegate) {
    auto env = Environment::current();
    std::shared_ptr<CentralManager> manager(new CentralManager(std::move(delegate), env->bluetooth, env->mainQueue));
    manager->attach();
    return manager;
}

CentralManager::CentralManager(std::weak_ptr<CentralManagerDelegate> delegate, std::shared_ptr<BluetoothRadio> radio,
                               std::shared_ptr<MainQueue> mainQueue)
    : delegate_(std::move(delegate)),
      radio_(std::move(radio)),
      mainQueue_(std::move(mainQueue)),
      state_(radio_ ? radio_->state() : ManagerState::unsupported) {}

CentralManager::~CentralManager() {
    if (radio_) radio_->disconnect(client_);
}

void CentralManager::attach() {
    std::weak_ptr<CentralManager> weak = weak_from_this();
    if (radio_) {
        client_ = radio_->connect(mainQueue_, [weak](ManagerState state) {
            if (auto self = weak.lock()) self->radioStateChanged(state);
        });
    }
    mainQueue_->post([weak] {
        if (auto self = weak.lock()) self->reportState();
    });
}

void CentralManager::radioStateChanged(ManagerState state) {
    state_ = state;
    reportState();
}

void CentralManager::reportState() {
    if (auto delegate = delegate_.lock()) delegate->centralManagerDidUpdateState(*this);
}

void CentralManager::scanForPeripheralsWithServices(std::optional<std::vector<BluetoothUUID>> services,
                                                    ScanOptions options) {
    scanning_ = true;
    services_ = std::move(services);
    options_ = options;
    reported_.clear();
    const auto generation = ++scanGeneration_;
    if (!radio_) return;
    std::weak_ptr<CentralManager> weak = weak_from_this();
    radio_->startScan(client_, [weak, generation](const RadioDiscovery& discovery) {
        auto self = weak.lock();
        if (self && generation == self->scanGeneration_) self->discovered(discovery);
    });
}

void CentralManager::stopScan() {
    scanning_ = false;
    ++scanGeneration_;
    reported_.clear();
    if (radio_) radio_->stopScan(client_);
}

bool CentralManager::passesFilter(const RadioAdvertisement& advertisement) const {
    if (!services_ || services_->empty()) return true;
    return std::any_of(advertisement.serviceUUIDs.begin(), advertisement.serviceUUIDs.end(), [&](const auto& uuid) {
        return std::find(services_->begin(), services_->end(), uuid) != services_->end();
    });
}

void CentralManager::discovered(const RadioDiscovery& discovery) {
    if (!passesFilter(discovery.advertisement)) return;
    if (!options_.allowDuplicates && !reported_.insert(reportKey(discovery)).second) return;
    auto delegate = delegate_.lock();
    if (!delegate) return;
    AdvertisementData data;
    if (discovery.advertisement.localName) {
        data.emplace(CBAdvertisementDataLocalNameKey, *discovery.advertisement.localName);
    }
    if (!discovery.advertisement.serviceUUIDs.empty()) {
        data.emplace(CBAdvertisementDataServiceUUIDsKey, discovery.advertisement.serviceUUIDs);
    }
    auto keepAlive = shared_from_this();
    delegate->didDiscoverPeripheral(*this, Peripheral{discovery.peripheralIdentifier}, data, discovery.rssi);
}

}  // namespace kelpa::platform

