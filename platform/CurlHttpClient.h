#pragma once

#include "platform/HttpClient.h"

namespace kelpa::platform {

// libcurl, one easy handle per call, so calls on different threads share nothing.
class CurlHttpClient : public HttpClient {
public:
    CurlHttpClient();
    std::optional<HttpResponse> send(const HttpRequest& request) override;
};

}  // namespace kelpa::platform
