#include "server/http/AccessLog.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "server/WallClock.h"

namespace kelpa::server {

AccessLog::AccessLog(const std::string& destination) {
    if (destination == "off") return;
    if (destination == "-") {
        file_ = stderr;
        return;
    }
    file_ = std::fopen(destination.c_str(), "a");
    if (!file_) throw std::runtime_error("cannot open access log " + destination);
    owned_ = true;
}

AccessLog::~AccessLog() {
    if (owned_) std::fclose(file_);
}

void AccessLog::write(const Entry& e) {
    if (!file_) return;
    nlohmann::json line = {{"at", WallClock::format(WallClock::now())},
                           {"peer", e.peer},
                           {"method", e.method},
                           {"path", e.path},
                           {"status", e.status},
                           {"us", e.micros}};
    if (e.action) line["action"] = e.action;
    if (e.code >= 0) line["code"] = e.code;
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::lock_guard lock(mutex_);
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

}  // namespace kelpa::server
