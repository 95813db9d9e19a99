#include "server/http/OutboundHttp.h"

#include <curl/curl.h>

#include <memory>

namespace kelpa::server {
namespace {

// Answers larger than this are not what any of the services we call sends back.
constexpr std::size_t kMaxBody = 1 << 20;

struct Collected {
    std::string body;
    bool tooLarge = false;
};

size_t collect(char* data, size_t size, size_t count, void* target) {
    auto* collected = static_cast<Collected*>(target);
    const size_t bytes = size * count;
    if (collected->body.size() + bytes > kMaxBody) {
        collected->tooLarge = true;
        return 0;  // stops the transfer
    }
    collected->body.append(data, bytes);
    return bytes;
}

}  // namespace

std::optional<OutboundHttp::Response> OutboundHttp::exchange(const std::string& url,
                                                             const std::vector<std::string>& headers,
                                                             const std::optional<std::string>& body,
                                                             long timeoutSeconds) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return std::nullopt;
    curl_slist* list = nullptr;
    for (const auto& header : headers) list = curl_slist_append(list, header.c_str());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headerList(list, curl_slist_free_all);
    Collected collected;
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
    if (body) {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body->c_str());
    }
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &collected);
    Response response;
    if (curl_easy_perform(handle) != CURLE_OK || collected.tooLarge) return std::nullopt;
    if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status) != CURLE_OK) return std::nullopt;
    response.body = std::move(collected.body);
    return response;
}

std::string OutboundHttp::percentEncode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

}  // namespace kelpa::server
