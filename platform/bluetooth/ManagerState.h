#pragma once

namespace kelpa::platform {

// The radio's state as both managers report it; the numbers are the ones screens switch on.
enum class ManagerState : int {
    unknown = 0,
    resetting = 1,
    unsupported = 2,
    unauthorized = 3,
    poweredOff = 4,
    poweredOn = 5,
};

}  // namespace kelpa::platform
