#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelpa::server {

// The service's own requests to other services (the SMS webhook, the social networks'
// token checks): one blocking exchange through libcurl with a time limit. Callers run it off
// the network and database threads.
class OutboundHttp {
public:
    struct Response {
        long status = 0;
        std::string body;
    };

    // A GET, or a POST when body is given. Nothing when no answer came (refused, unreachable,
    // timed out, or the answer was cut off); otherwise the status and the body, whatever the status.
    static std::optional<Response> exchange(const std::string& url, const std::vector<std::string>& headers,
                                            const std::optional<std::string>& body = std::nullopt,
                                            long timeoutSeconds = 10);

    // RFC 3986 percent-encoding: everything but letters, digits and "-._~".
    static std::string percentEncode(const std::string& text);
};

}  // namespace kelpa::server
