#include "client/service/API.h"

#include "client/model/Functions.h"
#include "platform/Environment.h"
#include "platform/FormEncoding.h"
#include "platform/HttpClient.h"
#include "platform/Image.h"
#include "platform/Preferences.h"

#include <fmt/format.h>

#include <cstdlib>
#include <mutex>

namespace kelpa {

namespace {
constexpr std::chrono::seconds kTimeout{30};

// Requests read the address on their background queues while the app may change it on the
// main queue, so it is guarded.
class ServiceSettings {
public:
    std::optional<std::string> baseURL() const {
        std::lock_guard lock(mutex_);
        return baseURL_;
    }
    void setBaseURL(std::optional<std::string> url) {
        std::lock_guard lock(mutex_);
        baseURL_ = std::move(url);
    }

private:
    mutable std::mutex mutex_;
    std::optional<std::string> baseURL_;
};

std::string withoutTrailingSlash(std::string url) {
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

API::Reply send(platform::HttpRequest request) {
    auto response = platform::Environment::current()->http->send(request);
    if (!response) return std::nullopt;
    // The status is not examined: an error page is decoded like any other body.
    return API::decodeJSON(response->body);
}
}  // namespace

std::string API::serviceBaseURL() {
    auto env = platform::Environment::current();
    if (auto override = env->local<ServiceSettings>().baseURL()) return withoutTrailingSlash(*override);
    if (const char* fromEnv = std::getenv("KELPA_SERVICE_URL"); fromEnv && *fromEnv) {
        return withoutTrailingSlash(fromEnv);
    }
    if (env->preferences) {
        if (auto stored = env->preferences->string(kServiceURLKey); stored && !stored->empty()) {
            return withoutTrailingSlash(*stored);
        }
    }
    return kDefaultServiceURL;
}

void API::setServiceBaseURL(std::optional<std::string> url) {
    platform::Environment::current()->local<ServiceSettings>().setBaseURL(std::move(url));
}

API::Reply API::requestWithDictionary(const Parameters& dictionary, const std::optional<std::string>& userID) {
    platform::FormEncoding::Fields fields;
    for (const auto& [key, value] : dictionary.entries()) fields.emplace_back(key, Parameters::text(value));
    if (userID) fields.emplace_back("userID", *userID);
    fields.emplace_back("deviceID", Functions::getUUID());

    platform::HttpRequest request;
    request.method = "POST";
    request.url = serviceBaseURL() + kEndpointPath;
    request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    request.body = platform::FormEncoding::encode(fields);
    request.timeout = kTimeout;
    request.handleCookies = false;
    return send(std::move(request));
}

API::Reply API::sendImage(const platform::Image& image, Action action, const std::string& userID) {
    const std::string boundary = kMultipartBoundary;
    const std::pair<const char*, std::string> fields[] = {
        {"action", fmt::format("{}", ActionCatalogue::code(action))},
        {"deviceID", Functions::getUUID()},
        {"userID", userID},
    };
    std::string body;
    for (const auto& [name, value] : fields) {
        body += fmt::format("--{}\r\n", boundary);
        body += fmt::format("Content-Disposition: form-data; name=\"{}\"\r\n\r\n", name);
        body += fmt::format("{}\r\n", value);
    }
    if (auto jpeg = platform::ImageCodec::encodeJPEG(image, 0.8)) {
        body += fmt::format("--{}\r\n", boundary);
        body += fmt::format("Content-Disposition: form-data; name=\"{}\"; filename=\"image.jpg\"\r\n", "image");
        body += "Content-Type: image/jpeg\r\n\r\n";
        body += *jpeg;
        body += "\r\n";
    }
    body += fmt::format("--{}--\r\n", boundary);

    platform::HttpRequest request;
    request.method = "POST";
    request.url = serviceBaseURL() + kEndpointPath;
    request.headers = {{"Content-Type", fmt::format("multipart/form-data; boundary={}", boundary)}};
    request.body = std::move(body);
    request.timeout = kTimeout;
    request.reloadIgnoringCache = true;
    request.handleCookies = false;
    return send(std::move(request));
}

API::Reply API::decodeJSON(const std::optional<std::string>& data) {
    if (!data || data->empty()) return std::nullopt;
    auto value = nlohmann::json::parse(*data, nullptr, false);
    if (value.is_discarded() || !(value.is_object() || value.is_array())) return std::nullopt;
    return value;
}

}  // namespace kelpa
