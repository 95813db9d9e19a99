#pragma once

#include <optional>
#include <string>

namespace kelpa::cli {

// Reads one line from the controlling terminal with echo switched off.
class TerminalSecret {
public:
    // None when standard input is no terminal: a script must say --password-stdin.
    static std::optional<std::string> read(const std::string& prompt);
};

}  // namespace kelpa::cli
