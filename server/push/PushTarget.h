#pragma once

#include <string>

namespace kelpa::server {

// Something a push can be handed to: a device's open push connection.
class PushTarget {
public:
    virtual ~PushTarget() = default;
    virtual void sendPush(std::string payload) = 0;
};

}  // namespace kelpa::server
