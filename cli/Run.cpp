#include "cli/Run.h"

#include "cli/Console.h"
#include "platform/HeadlessMainQueue.h"

#include <fmt/format.h>

namespace kelpa::cli {

Run::Run(Console& console, platform::HeadlessMainQueue& queue, bool json)
    : console_(console), queue_(queue), json_(json) {}

Date Run::now() const { return queue_.now(); }

void Run::succeed(const nlohmann::json& document, const std::string& text) {
    complete(document, text, kSuccess);
}

void Run::complete(const nlohmann::json& document, const std::string& text, int exitCode) {
    if (finished()) return;
    if (json_) {
        console_.print(document.dump(2) + "\n");
    } else if (!text.empty()) {
        console_.print(text.back() == '\n' ? text : text + "\n");
    }
    finish(exitCode);
}

void Run::fail(const std::string& message, int exitCode) {
    if (finished()) return;
    console_.error(message);
    if (json_) console_.print(nlohmann::json{{"ok", false}, {"error", message}}.dump(2) + "\n");
    finish(exitCode);
}

void Run::failStatus(std::int32_t code, const Info& info, const std::string& fallback) {
    if (info && !info->empty()) {
        fail(*info);
    } else {
        fail(fmt::format("{} (code {})", fallback, code));
    }
}

void Run::progress(const std::string& line) {
    if (!json_ && !finished()) console_.print(line + "\n");
}

void Run::finish(int exitCode) {
    if (finished()) return;
    exitCode_ = exitCode;
    queue_.stop();
}

}  // namespace kelpa::cli
