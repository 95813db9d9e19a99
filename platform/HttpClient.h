#pragma once

#include <chrono>
#include <optional>
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
    bool handleCookies = true;
};

struct HttpResponse {
    long status = 0;
    std::string body;
};

// Sends one request synchronously. Nothing means the exchange failed (no network, refused,
// timed out); an HTTP error status is still a response.
class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual std::optional<HttpResponse> send(const HttpRequest& request) = 0;
};

}  // namespace kelpa::platform
