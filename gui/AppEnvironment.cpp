#include "gui/AppEnvironment.h"

#include "client/model/Functions.h"
#include "client/service/API.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/bluetooth/SimulatedRadio.h"
#include "platform/contacts/VCardAddressBook.h"
#include "platform/kits/CrashKit.h"
#include "platform/location/NominatimGeocoder.h"
#include "platform/location/TrackLocationProvider.h"
#include "platform/maps/OsrmRouting.h"
#include "platform/push/WebSocketPushService.h"

#ifdef KELPA_HAVE_GUI_BACKENDS
#include "gui/backends/BlueZRadio.h"
#include "gui/backends/DesktopUrlOpener.h"
#include "gui/backends/QtImageSource.h"
#include "gui/backends/QtPositioningProvider.h"
#endif

namespace kelpa::gui {

using namespace platform;

std::shared_ptr<Environment> AppEnvironment::install(const StartOptions& options) {
    auto env = Environment::makeDefault();
    env->mainQueue = std::make_shared<QtMainQueue>();
    // Device services capture the main queue of the current environment as they are made.
    Environment::install(env);
    if (options.serviceURL) API::setServiceBaseURL(*options.serviceURL);
    addDeviceServices(*env, options);
    return env;
}

std::shared_ptr<QtMainQueue> AppEnvironment::mainQueue() {
    return std::dynamic_pointer_cast<QtMainQueue>(Environment::current()->mainQueue);
}

void AppEnvironment::addDeviceServices(Environment& env, const StartOptions& options) {
    env.crashKit = std::make_shared<CrashKit>(Paths::configDirectory() / "crash");
    env.geocoding = std::make_shared<NominatimGeocoder>(options.geocoderURL.value_or(NominatimGeocoder::kDefaultBaseURL));
    env.routing = std::make_shared<OsrmRouting>(options.routingURL.value_or(OsrmRouting::kDefaultBaseURL));
    if (options.directionsURL) env.mapsDirectionsURL = *options.directionsURL;
    env.push = std::make_shared<WebSocketPushService>([] { return API::serviceBaseURL(); },
                                                      [] { return Functions::getUUID(); }, env.preferences);
    if (options.addressBook) env.addressBook = std::make_shared<VCardAddressBook>(*options.addressBook);

    if (options.track) {
        env.location = TrackLocationProvider::create(*options.track, options.speed);
    }
#ifdef KELPA_HAVE_GUI_BACKENDS
    env.urlOpener = std::make_shared<ui::DesktopUrlOpener>();
    env.imageSource = std::make_shared<ui::QtImageSource>();
    if (!env.location) {
        auto positioning = QtPositioningProvider::create();
        if (positioning->hasSource()) env.location = positioning;
        else log("no positioning source on this machine: no position is shared (a track can stand in: --track FILE)");
    }
    if (!options.simulatedRadio && BlueZRadio::adapterPresent()) {
        env.bluetooth = std::make_shared<BlueZRadio>();
        return;
    }
    if (!options.simulatedRadio) log("no Bluetooth adapter: using the simulated radio");
#endif
    env.bluetooth = std::make_shared<SimulatedRadio>(SimulatedRadio::defaultDirectory());
}

}  // namespace kelpa::gui
