#include "platform/bluetooth/SimulatedRadio.h"

#include "platform/Log.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace kelpa::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotPoweredOn = "Bluetooth is not powered on";
constexpr const char* kFileSuffix = ".adv";

// Straight from the system's source, so a forked process does not repeat its parent's ids.
std::string randomHex(size_t digits) {
    std::random_device device;
    std::string out;
    while (out.size() < digits) {
        char buffer[9];
        std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(device()));
        out += buffer;
    }
    out.resize(digits);
    return out;
}

// A random identifier in the form a phone gives a peripheral.
std::string randomPeripheralIdentifier() {
    auto hex = randomHex(32);
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) + "-" +
           hex.substr(20);
}

std::string truncatedName(const std::string& name) {
    if (name.size() <= SimulatedRadio::maxLocalNameBytes) return name;
    size_t cut = SimulatedRadio::maxLocalNameBytes;
    // Back off to the first byte of the character that does not fit.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

struct ProcessStat {
    char state = '?';
    std::string started;  // clock ticks after boot; tells a reused pid apart
};

std::optional<ProcessStat> readProcessStat(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    // The command name may hold spaces and parentheses; the fields after the last ')' do not.
    const auto close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    ProcessStat stat;
    std::string field;
    // Field 3 is the state, field 22 the start time.
    for (int index = 3; fields >> field; ++index) {
        if (index == 3) stat.state = field.empty() ? '?' : field[0];
        if (index == 22) {
            stat.started = field;
            return stat;
        }
    }
    return std::nullopt;
}

bool processAlive(long pid, const std::string& started) {
    if (pid <= 0) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
    if (auto stat = readProcessStat(pid)) {
        if (stat->state == 'Z' || stat->state == 'X') return false;
        if (!started.empty() && stat->started != started) return false;
    }
    return true;
}

// Reads one published advertisement; nullopt when the file is not one (or half of one).
struct PublishedAdvertisement {
    long pid = 0;
    std::string started;
    std::string radio;
    RadioDiscovery discovery;
};

std::optional<PublishedAdvertisement> readPublished(const fs::path& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    auto json = nlohmann::json::parse(text.str(), nullptr, false);
    if (json.is_discarded() || !json.is_object()) return std::nullopt;
    auto textField = [&](const char* key) -> const std::string* {
        auto it = json.find(key);
        return it != json.end() && it->is_string() ? it->get_ptr<const std::string*>() : nullptr;
    };
    auto pid = json.find("pid");
    const auto* radio = textField("radio");
    const auto* peripheral = textField("peripheral");
    if (pid == json.end() || !pid->is_number_integer() || !radio || !peripheral) return std::nullopt;
    PublishedAdvertisement published;
    published.pid = pid->get<long>();
    if (const auto* started = textField("started")) published.started = *started;
    published.radio = *radio;
    published.discovery.peripheralIdentifier = *peripheral;
    published.discovery.rssi = SimulatedRadio::simulatedRSSI;
    if (const auto* name = textField("name")) published.discovery.advertisement.localName = *name;
    if (auto services = json.find("services"); services != json.end() && services->is_array()) {
        for (const auto& service : *services) {
            if (!service.is_string()) continue;
            auto uuid = BluetoothUUID::UUIDWithString(service.get<std::string>());
            if (uuid.isValid()) published.discovery.advertisement.serviceUUIDs.push_back(uuid);
        }
    }
    return published;
}

}  // namespace

struct SimulatedRadio::Shared : std::enable_shared_from_this<Shared> {
    struct Client {
        std::shared_ptr<MainQueue> queue;
        StateHandler onState;
        std::string peripheralIdentifier;
        std::optional<RadioAdvertisement> advertisement;
        DiscoveryHandler onDiscovery;  // empty while not scanning
        std::uint64_t scanGeneration = 0;
        MainQueue::TimerId pollTimer = 0;
    };

    explicit Shared(std::optional<fs::path> directory) : directory(std::move(directory)), radioIdentifier(randomHex(32)) {}

    const std::optional<fs::path> directory;
    const std::string radioIdentifier;

    mutable std::mutex mutex;
    ManagerState state = ManagerState::poweredOn;
    ClientId nextClient = 1;
    std::map<ClientId, Client> clients;

    // Runs a task on the client's queue, unless the client has gone by then.
    // Called with the mutex held, so tasks keep the order of the changes they tell.
    void post(ClientId id, const Client& client, std::function<void(Shared&)> task) {
        client.queue->post([weak = weak_from_this(), id, task = std::move(task)] {
            auto self = weak.lock();
            if (!self) return;
            {
                std::lock_guard lock(self->mutex);
                if (!self->clients.count(id)) return;
            }
            task(*self);
        });
    }

    // --- published files; all with the mutex held

    fs::path fileOf(ClientId id) const {
        return *directory / (radioIdentifier + "-" + std::to_string(id) + kFileSuffix);
    }

    void publish(ClientId id, const Client& client) {
        if (!directory || !client.advertisement) return;
        const auto pid = static_cast<long>(::getpid());
        nlohmann::json json = {{"pid", pid}, {"radio", radioIdentifier},
                               {"peripheral", client.peripheralIdentifier}};
        if (auto stat = readProcessStat(pid)) json["started"] = stat->started;
        auto services = nlohmann::json::array();
        for (const auto& uuid : client.advertisement->serviceUUIDs) services.push_back(uuid.UUIDString());
        json["services"] = services;
        if (client.advertisement->localName) json["name"] = *client.advertisement->localName;

        // Scanners never see half a file: it is written aside and renamed into place.
        std::error_code ec;
        fs::create_directories(*directory, ec);
        const auto target = fileOf(id);
        const auto temporary = *directory / ("." + target.filename().string() + ".tmp");
        bool written;
        {
            std::ofstream out(temporary, std::ios::trunc);
            // A name that is not UTF-8 must not stop the advertisement.
            out << json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            written = static_cast<bool>(out.flush());
        }
        if (written) fs::rename(temporary, target, ec);
        if (!written || ec) {
            fs::remove(temporary, ec);
            // Clients of this object still hear it; other processes do not.
            log("SimulatedRadio: cannot publish an advertisement in " + directory->string());
        }
    }

    void unpublish(ClientId id) {
        if (!directory) return;
        std::error_code ec;
        fs::remove(fileOf(id), ec);
    }

    void endAdvertisement(ClientId id, Client& client) {
        if (!client.advertisement) return;
        client.advertisement.reset();
        unpublish(id);
    }

    // --- scans

    void pauseScan(Client& client) {
        if (client.pollTimer) client.queue->cancel(client.pollTimer);
        client.pollTimer = 0;
    }

    // A look at once, then one every poll interval.
    void resumeScan(ClientId id, Client& client) {
        const auto generation = client.scanGeneration;
        post(id, client, [id, generation](Shared& self) { self.sweep(id, generation); });
        armPoll(id, client);
    }

    void armPoll(ClientId id, Client& client) {
        client.pollTimer = client.queue->postAfter(
            pollInterval, [weak = weak_from_this(), id, generation = client.scanGeneration] {
                if (auto self = weak.lock()) self->poll(id, generation);
            });
    }

    bool scanning(ClientId id, std::uint64_t generation) const {
        auto it = clients.find(id);
        return state == ManagerState::poweredOn && it != clients.end() && it->second.onDiscovery &&
               it->second.scanGeneration == generation;
    }

    void poll(ClientId id, std::uint64_t generation) {
        {
            std::lock_guard lock(mutex);
            if (!scanning(id, generation)) return;
            armPoll(id, clients[id]);
        }
        sweep(id, generation);
    }

    // Reports every advertisement on the air to one scan: those of this object's other
    // clients, then those published by other radios.
    void sweep(ClientId id, std::uint64_t generation) {
        std::vector<RadioDiscovery> found;
        DiscoveryHandler handler;
        {
            std::lock_guard lock(mutex);
            if (!scanning(id, generation)) return;
            handler = clients[id].onDiscovery;
            for (const auto& [otherId, other] : clients) {
                if (otherId == id || !other.advertisement) continue;
                found.push_back(RadioDiscovery{other.peripheralIdentifier, *other.advertisement, simulatedRSSI});
            }
        }
        if (directory) readDirectory(found);
        for (const auto& discovery : found) {
            {
                std::lock_guard lock(mutex);
                if (!scanning(id, generation)) return;
            }
            handler(discovery);
        }
    }

    void readDirectory(std::vector<RadioDiscovery>& found) const {
        std::error_code ec;
        std::vector<fs::path> files;
        for (fs::directory_iterator it(*directory, ec), end; !ec && it != end; it.increment(ec)) {
            const auto name = it->path().filename().string();
            if (name.empty() || name[0] == '.' || it->path().extension() != kFileSuffix) continue;
            files.push_back(it->path());
        }
        // Directory order is arbitrary; a stable one keeps runs repeatable.
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            auto published = readPublished(file);
            if (!published || published->radio == radioIdentifier) continue;
            if (!processAlive(published->pid, published->started)) {
                fs::remove(file, ec);
                continue;
            }
            found.push_back(std::move(published->discovery));
        }
    }
};

SimulatedRadio::SimulatedRadio() : shared_(std::make_shared<Shared>(std::nullopt)) {}

SimulatedRadio::SimulatedRadio(fs::path directory)
    : directory_(std::move(directory)), shared_(std::make_shared<Shared>(directory_)) {
    std::error_code ec;
    // Advertisements of this user only: nobody else reads or plants files here.
    if (fs::create_directories(*directory_, ec)) fs::permissions(*directory_, fs::perms::owner_all, ec);
}

SimulatedRadio::~SimulatedRadio() {
    std::lock_guard lock(shared_->mutex);
    for (auto& [id, client] : shared_->clients) {
        shared_->endAdvertisement(id, client);
        shared_->pauseScan(client);
    }
    shared_->clients.clear();
}

fs::path SimulatedRadio::defaultDirectory() {
    auto variable = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value || !*value) return std::nullopt;
        return std::string(value);
    };
    if (auto dir = variable("KELPA_RADIO_DIR")) return fs::path(*dir);
    if (auto runtime = variable("XDG_RUNTIME_DIR")) return fs::path(*runtime) / "kelpa-radio";
    return fs::path("/tmp") / ("kelpa-radio-" + std::to_string(::getuid()));
}

void SimulatedRadio::setPoweredOn(bool on) { setState(on ? ManagerState::poweredOn : ManagerState::poweredOff); }

void SimulatedRadio::setState(ManagerState state) {
    std::lock_guard lock(shared_->mutex);
    if (state == shared_->state) return;
    const bool wasOn = shared_->state == ManagerState::poweredOn;
    shared_->state = state;
    for (auto& [id, client] : shared_->clients) {
        shared_->post(id, client, [id, state](Shared& self) {
            StateHandler handler;
            {
                std::lock_guard lock(self.mutex);
                if (auto it = self.clients.find(id); it != self.clients.end()) handler = it->second.onState;
            }
            if (handler) handler(state);
        });
    }
    // Scans resume after the state report, so a scanner hears of power before it hears more.
    for (auto& [id, client] : shared_->clients) {
        if (wasOn) {
            shared_->endAdvertisement(id, client);
            shared_->pauseScan(client);
        } else if (state == ManagerState::poweredOn && client.onDiscovery) {
            shared_->resumeScan(id, client);
        }
    }
}

BluetoothRadio::ClientId SimulatedRadio::connect(std::shared_ptr<MainQueue> queue, StateHandler onState) {
    std::lock_guard lock(shared_->mutex);
    const auto id = shared_->nextClient++;
    auto& client = shared_->clients[id];
    client.queue = std::move(queue);
    client.onState = std::move(onState);
    client.peripheralIdentifier = randomPeripheralIdentifier();
    return id;
}

void SimulatedRadio::disconnect(ClientId id) {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it == shared_->clients.end()) return;
    shared_->endAdvertisement(id, it->second);
    shared_->pauseScan(it->second);
    shared_->clients.erase(it);
}

ManagerState SimulatedRadio::state() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state;
}

void SimulatedRadio::addService(ClientId id, const MutableService&, Completion done) {
    // Nobody connects to a simulated peripheral, so a service needs nothing beyond power.
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it == shared_->clients.end()) return;
    std::optional<std::string> error;
    if (shared_->state != ManagerState::poweredOn) error = kNotPoweredOn;
    shared_->post(id, it->second, [done = std::move(done), error](Shared&) { done(error); });
}

void SimulatedRadio::startAdvertising(ClientId id, const RadioAdvertisement& advertisement, Completion done) {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it == shared_->clients.end()) return;
    auto& client = it->second;
    if (shared_->state != ManagerState::poweredOn) {
        shared_->post(id, client, [done = std::move(done)](Shared&) { done(kNotPoweredOn); });
        return;
    }
    auto onAir = advertisement;
    if (onAir.localName) onAir.localName = truncatedName(*onAir.localName);
    client.advertisement = std::move(onAir);
    shared_->publish(id, client);
    shared_->post(id, client, [done = std::move(done)](Shared&) { done(std::nullopt); });
    // Scanners on this object hear it at once; other radios at their next poll.
    for (auto& [otherId, other] : shared_->clients) {
        if (otherId == id || !other.onDiscovery) continue;
        shared_->post(otherId, other, [otherId, generation = other.scanGeneration](Shared& self) {
            self.sweep(otherId, generation);
        });
    }
}

void SimulatedRadio::stopAdvertising(ClientId id) {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it != shared_->clients.end()) shared_->endAdvertisement(id, it->second);
}

void SimulatedRadio::startScan(ClientId id, DiscoveryHandler onDiscovery) {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it == shared_->clients.end()) return;
    auto& client = it->second;
    shared_->pauseScan(client);
    client.onDiscovery = std::move(onDiscovery);
    ++client.scanGeneration;
    if (client.onDiscovery && shared_->state == ManagerState::poweredOn) shared_->resumeScan(id, client);
}

void SimulatedRadio::stopScan(ClientId id) {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->clients.find(id);
    if (it == shared_->clients.end()) return;
    shared_->pauseScan(it->second);
    it->second.onDiscovery = nullptr;
    ++it->second.scanGeneration;
}

}  // namespace kelpa::platform
