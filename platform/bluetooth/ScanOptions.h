#pragma once

namespace kelpa::platform {

// Options of a scan. Without duplicates, an advertisement is reported once per scan.
struct ScanOptions {
    bool allowDuplicates = false;
};

}  // namespace kelpa::platform
