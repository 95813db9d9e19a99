#include "cli/Console.h"

#include "cli/TerminalSecret.h"

#include <iostream>

namespace kelpa::cli {

Console::Console(std::ostream& out, std::ostream& err, std::istream& in, SecretReader readSecret)
    : out_(out), err_(err), in_(in), readSecret_(std::move(readSecret)) {}

Console Console::standard() { return Console(std::cout, std::cerr, std::cin, &TerminalSecret::read); }

void Console::print(std::string_view text) {
    out_ << text;
    out_.flush();
}

void Console::error(std::string_view line) {
    std::lock_guard lock(errMutex_);
    err_ << line << '\n';
    err_.flush();
}

std::optional<std::string> Console::readLine() {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> Console::readSecret(const std::string& prompt) const {
    if (!readSecret_) return std::nullopt;
    return readSecret_(prompt);
}

}  // namespace kelpa::cli
