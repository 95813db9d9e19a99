#pragma once

#include <memory>

namespace kelpa {

class User;
class Group;

// The values the whole client shares: the signed-in user and the joined group. They live in
// the environment (so each test starts without them) and are replaced on the main queue only.
struct ProcessValues {
    std::shared_ptr<User> currentUser;
    std::shared_ptr<Group> joinedGroup;
    // The joined group as last announced to the screens, and whether an announcement is
    // on its way.
    std::shared_ptr<Group> announcedJoinedGroup;
    bool joinedGroupAnnouncementPending = false;
};

}  // namespace kelpa
