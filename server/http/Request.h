#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace kelpa::server {

// One decoded API request. Every accessor validates: a missing, malformed or oversized field
// throws a Refusal naming the field, so actions only ever see checked values.
class Request {
public:
    static constexpr const char* kAnonymousUser = "-4321";

    // Checks the envelope: action, deviceID and, when present, userID.
    Request(std::map<std::string, std::string> fields, std::map<std::string, std::string> files,
            std::string clientAddress = {});

    int action() const { return action_; }
    const std::string& deviceId() const { return deviceId_; }
    // The claimed user; none for the anonymous identifier or when absent.
    std::optional<std::int64_t> userId() const { return userId_; }
    // The address the request came from (without the port), for limits per address.
    const std::string& clientAddress() const { return clientAddress_; }

    bool has(const std::string& name) const;
    // Text of 1..maxChars characters (UTF-8), or 0..maxChars with allowEmpty.
    std::string text(const std::string& name, std::size_t maxChars, bool allowEmpty = false) const;
    std::int64_t id(const std::string& name) const;
    std::int64_t integer(const std::string& name, std::int64_t min, std::int64_t max) const;
    double number(const std::string& name, double min, double max) const;
    const std::string* file(const std::string& name) const;

private:
    const std::string& raw(const std::string& name) const;

    std::map<std::string, std::string> fields_;
    std::map<std::string, std::string> files_;
    int action_ = 0;
    std::string deviceId_;
    std::optional<std::int64_t> userId_;
    std::string clientAddress_;
};

}  // namespace kelpa::server
