#pragma once

namespace kelpa::platform {

// Desired accuracies a location manager can ask for, in metres; the negative ones ask for the
// best the device can do, navigation grade above all.
inline constexpr double kCLLocationAccuracyBestForNavigation = -2;
inline constexpr double kCLLocationAccuracyBest = -1;
inline constexpr double kCLLocationAccuracyNearestTenMeters = 10;
inline constexpr double kCLLocationAccuracyHundredMeters = 100;

// A distance filter that lets every fix through.
inline constexpr double kCLDistanceFilterNone = -1;

}  // namespace kelpa::platform
