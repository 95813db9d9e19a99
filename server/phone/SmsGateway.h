#pragma once

#include <mutex>
#include <string>

namespace kelpa::server {

// Hands text messages to the outside world: appended as JSON lines
// {"at": ..., "to": ..., "body": ...} to an outbox file that a relay (or a person, or a test)
// reads, or POSTed as that JSON object to a webhook.
class SmsGateway {
public:
    static SmsGateway outbox(std::string path);
    static SmsGateway webhook(std::string url);
    static SmsGateway none();

    SmsGateway(SmsGateway&& other) noexcept;
    bool send(const std::string& to, const std::string& body);

private:
    enum class Kind { Outbox, Webhook, None };
    SmsGateway(Kind kind, std::string target);

    Kind kind_;
    std::string target_;
    std::mutex mutex_;
};

}  // namespace kelpa::server
