#pragma once

#include "FakeNominatim.h"
#include "GroupsFixture.h"

#include "client/groups/AddContactsToGroupViewController.h"
#include "client/groups/AddDetailsToGroupViewController.h"
#include "client/groups/AddStartEndViewController.h"
#include "client/groups/AddWaypointsFromAdressViewController.h"
#include "client/location/AddAnnotationsViewController.h"
#include "platform/CurlHttpClient.h"
#include "platform/location/NominatimGeocoder.h"

#include <memory>
#include <string>

namespace kelpa::testing {

// Planning a group from the new-group menu: the service is the scripted fake, the geocoder a
// Nominatim-compatible service on loopback that knows the places the test gives it.
struct WizardFixture {
    WizardFixture() {
        f.app.t.env().geocoding =
            std::make_shared<platform::NominatimGeocoder>(nominatim.url(), std::make_shared<platform::CurlHttpClient>());
    }

    template <class T>
    T* front() const {
        return dynamic_cast<T*>(f.driver.frontmost());
    }
    bool tap(const std::string& button) {
        const bool tapped = f.driver.tap(button);
        f.app.t.settle();
        return tapped;
    }

    // Step 1, reached through the menu.
    AddDetailsToGroupViewController* details() {
        f.show(f.screen("NewGroupMenuViewController"));
        EXPECT_TRUE(tap("plannedGroup"));
        return front<AddDetailsToGroupViewController>();
    }
    // Step 2 with a description typed.
    AddContactsToGroupViewController* contacts(const std::string& title = "Tour") {
        if (!details()) return nullptr;
        f.driver.type("groupTitle", title);
        EXPECT_TRUE(tap("next"));
        return front<AddContactsToGroupViewController>();
    }
    AddStartEndViewController* startEnd() {
        if (!contacts()) return nullptr;
        EXPECT_TRUE(tap("next"));
        return front<AddStartEndViewController>();
    }
    AddWaypointsFromAdressViewController* waypoints() {
        if (!startEnd()) return nullptr;
        EXPECT_TRUE(tap("next"));
        return front<AddWaypointsFromAdressViewController>();
    }
    // Types an address into step 4 and adds it, waiting for the geocoder's answer.
    void enter(const std::string& address) {
        f.driver.type("adress", address);
        EXPECT_TRUE(tap("addButton"));
    }

    GroupsFixture f;
    FakeNominatim nominatim;
};

}  // namespace kelpa::testing
