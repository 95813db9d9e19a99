#include "cli/Application.h"
#include "cli/Console.h"
#include "platform/Environment.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace kelpa;
    // Preferences and the device identifier live under KELPA_HOME when it is set, so several
    // installations can run side by side.
    platform::Environment::install(platform::Environment::makeDefault());
    auto console = cli::Console::standard();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int exitCode = cli::Application::run(arguments, console);
    platform::Environment::install(nullptr);
    return exitCode;
}
