#pragma once

namespace kelpa {

// The storyboard "Main": every screen the code instantiates by identifier, the segues
// controls fire, and the tabs.
class MainStoryboard {
public:
    static constexpr const char* kName = "Main";
    // Tab order: the live map, the groups, the contacts, the profile.
    static constexpr const char* kTabTitles[] = {"Map", "Groups", "Contacts", "Profile"};

    // Registers "Main" with the current environment.
    static void install();
};

}  // namespace kelpa
