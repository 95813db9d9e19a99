#include "server/phone/SmsGateway.h"

#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "server/WallClock.h"
#include "server/http/OutboundHttp.h"

namespace kelpa::server {

SmsGateway::SmsGateway(Kind kind, std::string target) : kind_(kind), target_(std::move(target)) {}
SmsGateway::SmsGateway(SmsGateway&& other) noexcept
    : kind_(other.kind_), target_(std::move(other.target_)) {}

SmsGateway SmsGateway::outbox(std::string path) { return {Kind::Outbox, std::move(path)}; }
SmsGateway SmsGateway::webhook(std::string url) { return {Kind::Webhook, std::move(url)}; }
SmsGateway SmsGateway::none() { return {Kind::None, {}}; }

bool SmsGateway::send(const std::string& to, const std::string& body) {
    const std::string line =
        nlohmann::json{{"at", WallClock::format(WallClock::now())}, {"to", to}, {"body", body}}.dump();
    if (kind_ == Kind::None) return false;
    if (kind_ == Kind::Outbox) {
        std::lock_guard lock(mutex_);
        const int fd = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const std::string text = line + "\n";
        const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        return ok;
    }
    const auto answer = OutboundHttp::exchange(target_, {"Content-Type: application/json"}, line);
    return answer && answer->status >= 200 && answer->status < 300;
}

}  // namespace kelpa::server
