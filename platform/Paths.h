#pragma once

#include <filesystem>

namespace kelpa::platform {

// Where an installation keeps its files: under KELPA_HOME when it is set (tests, several
// installations on one machine), otherwise under the XDG directories.
class Paths {
public:
    static std::filesystem::path configDirectory();
    static std::filesystem::path documentsDirectory();
};

}  // namespace kelpa::platform
