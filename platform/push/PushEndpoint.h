#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelpa::platform {

// Where a device's push stream is, derived from the service's base address: ws:// beside
// http://, wss:// beside https://, on the same host, port and path prefix.
class PushEndpoint {
public:
    bool secure = false;
    std::string host;      // without IPv6 brackets
    std::string port;
    std::string basePath;  // the base address's path, no trailing slash ("" for the root)

    // None for an address that is not http(s):// or ws(s):// with a host.
    static std::optional<PushEndpoint> fromServiceURL(std::string_view url);

    // The request target of the stream for this device and token.
    std::string target(const std::string& deviceID, const std::string& tokenHex) const;
    // The Host header's value.
    std::string hostHeader() const;
    // The stream's address for log lines, without the query (which holds the token).
    std::string displayURL() const;

    bool operator==(const PushEndpoint&) const = default;
};

}  // namespace kelpa::platform
