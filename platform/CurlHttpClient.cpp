#include "platform/CurlHttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace kelpa::platform {

namespace {
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
}  // namespace

CurlHttpClient::CurlHttpClient() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::optional<HttpResponse> CurlHttpClient::send(const HttpRequest& request) {
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) return std::nullopt;
    CURL* h = curl.get();

    HttpResponse response;
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    // Replies are read whatever their status; errors travel in the body.
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 0L);
    if (request.method == "POST") {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    } else if (request.method != "GET") {
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }

    std::unique_ptr<curl_slist, ListDeleter> headers;
    auto addHeader = [&](const std::string& line) {
        headers.reset(curl_slist_append(headers.release(), line.c_str()));
    };
    for (const auto& [name, value] : request.headers) addHeader(name + ": " + value);
    // libcurl would otherwise add "Expect: 100-continue" to larger bodies and wait for it.
    addHeader("Expect:");
    if (request.reloadIgnoringCache) {
        addHeader("Cache-Control: no-cache");
        addHeader("Pragma: no-cache");
    }
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    // The cookie engine stays off unless asked for; the upload asks for none.
    if (request.handleCookies) curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");

    if (curl_easy_perform(h) != CURLE_OK) return std::nullopt;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace kelpa::platform
