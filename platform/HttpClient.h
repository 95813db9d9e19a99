#pragma once

#include <chrono>
#include <optional>
#include <string_view>
#include <string>
#include <utility>
#include <vector>

namespace kelpa::platform {

struct HttpRequest {
    std::string method = "POST";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::milliseconds timeout{30000};
    bool reloadIgnoringCache = false;
    // Whether cookies may be sent back. No cookie outlives its exchange and redirects are not
    // followed, so none ever is; the flag records what the caller asked for.
    bool handleCookies = true;
};

struct HttpResponse {
    long status = 0;
    std::string body;
    // As received, in order; names as the server spelled them.
    std::vector<std::pair<std::string, std::string>> headers = {};

    // The first header of that name, compared without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

// Sends one request synchronously. Nothing means the exchange failed (no network, refused,
// timed out); an HTTP error status is still a response.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual std::optional<HttpResponse> send(const HttpRequest& request) = 0;
};

}  // namespace kelpa::platform
