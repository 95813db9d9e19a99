#include "platform/CurlHttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace kelpa::platform {

namespace {
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// One header line of the final response ("Name: value\r\n"); a new status line (after a
// redirect or a 100 Continue) starts the list afresh.
size_t appendHeader(char* data, size_t size, size_t count, void* target) {
    auto& headers = *static_cast<std::vector<std::pair<std::string, std::string>>*>(target);
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        headers.clear();
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        auto value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
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
    // One handle per thread, reset for every call: its open connection to the service is used
    // again (background threads live on in the pool), nothing else carries over. Its cookie
    // engine stays off, so no cookie outlives its exchange.
    thread_local std::unique_ptr<CURL, EasyDeleter> curl;
    if (curl) {
        curl_easy_reset(curl.get());
    } else {
        curl.reset(curl_easy_init());
    }
    if (!curl) return std::nullopt;
    CURL* h = curl.get();

    HttpResponse response;
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, appendHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &response.headers);
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

    if (curl_easy_perform(h) != CURLE_OK) return std::nullopt;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    long requestBytes = 0, headerBytes = 0;
    curl_off_t uploaded = 0, downloaded = 0;
    curl_easy_getinfo(h, CURLINFO_REQUEST_SIZE, &requestBytes);
    curl_easy_getinfo(h, CURLINFO_HEADER_SIZE, &headerBytes);
    curl_easy_getinfo(h, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    curl_easy_getinfo(h, CURLINFO_SIZE_DOWNLOAD_T, &downloaded);
    exchanges_.fetch_add(1, std::memory_order_relaxed);
    bytesSent_.fetch_add(static_cast<std::uint64_t>(requestBytes + uploaded), std::memory_order_relaxed);
    bytesReceived_.fetch_add(static_cast<std::uint64_t>(headerBytes + downloaded), std::memory_order_relaxed);
    return response;
}

CurlHttpClient::Traffic CurlHttpClient::traffic() const {
    return {exchanges_.load(std::memory_order_relaxed), bytesSent_.load(std::memory_order_relaxed),
            bytesReceived_.load(std::memory_order_relaxed)};
}

}  // namespace kelpa::platform
