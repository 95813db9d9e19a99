#pragma once

#include <atomic>
#include <cstdint>

#include "platform/HttpClient.h"

namespace kelpa::platform {

// libcurl with one easy handle per thread, reset for every call so that only its open
// connections carry over; calls on different threads share nothing.
class CurlHttpClient : public HttpClient {
public:
    // What went over the wire so far: exchanges completed, and bytes of requests and replies
    // (headers included).
    struct Traffic {
        std::uint64_t exchanges = 0;
        std::uint64_t bytesSent = 0;
        std::uint64_t bytesReceived = 0;
    };

    CurlHttpClient();
    std::optional<HttpResponse> send(const HttpRequest& request) override;
    Traffic traffic() const;

private:
    std::atomic<std::uint64_t> exchanges_{0};
    std::atomic<std::uint64_t> bytesSent_{0};
    std::atomic<std::uint64_t> bytesReceived_{0};
};

}  // namespace kelpa::platform
