#pragma once

#include "platform/maps/DirectionsRequest.h"
#include "platform/maps/DirectionsResponse.h"

#include <functional>
#include <optional>
#include <string>

namespace kelpa::platform {

// Calculates the routes of a request with the environment's routing service, on a
// background queue; the completion runs on the main queue with the routes or an error text.
// The current location is the location provider's last known fix at the time of the call.
// The object may go away before the answer comes.
class Directions {
public:
    using CompletionHandler =
        std::function<void(std::optional<DirectionsResponse> response, std::optional<std::string> error)>;

    static constexpr const char* kUnknownLocation = "The current location is unknown";
    static constexpr const char* kNotAvailable = "directions are not available";

    explicit Directions(DirectionsRequest request);

    const DirectionsRequest& request() const { return request_; }
    // Call on the main queue.
    void calculateDirectionsWithCompletionHandler(CompletionHandler completionHandler);

private:
    DirectionsRequest request_;
};

}  // namespace kelpa::platform
