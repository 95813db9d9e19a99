#pragma once

#include <string>
#include <vector>

namespace kelpa::cli {

class Console;

// One run of kelpactl in the installed environment: parses the command line, signs the
// stored user in again when the command needs one, runs the command on the main queue until
// it ends, and gives the exit code (0 success, 1 failure, 2 usage error).
class Application {
public:
    static int run(const std::vector<std::string>& arguments, Console& console);
};

}  // namespace kelpa::cli
