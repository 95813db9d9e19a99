#pragma once

#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa::cli {

// Where one run of kelpactl reads and writes: standard streams for the executable, string
// streams for the tests. Lines to the error stream may come from background queues (the
// verbose log), so they are serialised.
class Console {
public:
    // Reads a secret after showing the prompt, without echo; none when it cannot.
    using SecretReader = std::function<std::optional<std::string>(const std::string& prompt)>;

    Console(std::ostream& out, std::ostream& err, std::istream& in, SecretReader readSecret);

    // The process's standard streams, with the password read from the terminal.
    static Console standard();

    void print(std::string_view text);  // text as given, to the output stream
    void error(std::string_view line);  // one line to the error stream
    std::optional<std::string> readLine();
    std::optional<std::string> readSecret(const std::string& prompt) const;

private:
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
    SecretReader readSecret_;
    std::mutex errMutex_;
};

}  // namespace kelpa::cli
