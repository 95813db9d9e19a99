#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>

namespace kelpa::platform {

class MainQueue;
class WorkerPool;
class HttpClient;
class Preferences;
class NotificationCenter;
class FacebookKit;
class TwitterKit;
class CrashKit;
class LocationProvider;
class GeocodingService;
class RoutingService;
class BluetoothRadio;
class PushService;
class AddressBookSource;
namespace ui {
class UrlOpener;
class ImageSource;
}

// Every platform service the client reaches, in one replaceable object. The application and
// kelpactl install one at start; each test installs a fresh one, so no state leaks between
// tests.
class Environment {
public:
    using LogSink = std::function<void(std::string_view line)>;

    std::shared_ptr<MainQueue> mainQueue;
    std::shared_ptr<WorkerPool> workers;
    std::shared_ptr<HttpClient> http;
    std::shared_ptr<Preferences> preferences;
    std::shared_ptr<NotificationCenter> notifications;
    std::shared_ptr<FacebookKit> facebook;
    std::shared_ptr<TwitterKit> twitter;
    std::shared_ptr<CrashKit> crashKit;
    // Device services. A missing one behaves like absent hardware: no fixes, no radio, no
    // pushes, an empty address book.
    std::shared_ptr<LocationProvider> location;
    std::shared_ptr<GeocodingService> geocoding;
    std::shared_ptr<RoutingService> routing;
    std::shared_ptr<BluetoothRadio> bluetooth;
    std::shared_ptr<PushService> push;
    std::shared_ptr<AddressBookSource> addressBook;
    std::shared_ptr<ui::UrlOpener> urlOpener;
    std::shared_ptr<ui::ImageSource> imageSource;
    // The operating system's version as the screens read it.
    std::string systemVersion = "17.0";
    // The application's string table: display texts by key.
    std::unordered_map<std::string, std::string> strings;
    std::filesystem::path documentsDirectory;
    // The maps application's directions page; a link adds "?daddr=latitude,longitude".
    std::string mapsDirectionsURL = "https://www.openstreetmap.org/directions";
    LogSink logSink;

    // The environment in force; a default one (real clock, real network, files under the
    // user's directories) is made on first use when none was installed.
    static std::shared_ptr<Environment> current();
    static void install(std::shared_ptr<Environment> environment);

    // Makes an environment current for this thread only, for as long as the scope lives. Two
    // app instances can so share one process: each drives its own main queue inside its own
    // scope, and background queues carry the scope of the thread that created them.
    class Scope {
    public:
        explicit Scope(std::shared_ptr<Environment> environment);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        std::shared_ptr<Environment> previous_;
    };

    // Real services: headless main queue on the real clock, libcurl, the preferences file and
    // documents directory of this installation, log lines to standard error.
    static std::shared_ptr<Environment> makeDefault();

    // State that the layers above keep per environment (the process-wide values of the
    // client, for instance). Made on first use; touched on the main queue only.
    template <class T>
    T& local() {
        std::lock_guard lock(localsMutex_);
        auto& slot = locals_[std::type_index(typeid(T))];
        if (!slot) slot = std::make_shared<T>();
        return *std::static_pointer_cast<T>(slot);
    }

private:
    std::mutex localsMutex_;
    std::unordered_map<std::type_index, std::shared_ptr<void>> locals_;
};

}  // namespace kelpa::platform
