#include "cli/TerminalSecret.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace kelpa::cli {

std::optional<std::string> TerminalSecret::read(const std::string& prompt) {
    if (!isatty(STDIN_FILENO)) return std::nullopt;
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return std::nullopt;
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    silent.c_lflag |= ECHONL;
    std::cerr << prompt << std::flush;
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent) != 0) return std::nullopt;
    std::string line;
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (!ok) return std::nullopt;
    return line;
}

}  // namespace kelpa::cli
