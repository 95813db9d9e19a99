#include "server/phone/SmsGateway.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "server/WallClock.h"

namespace kelpa::server {

SmsGateway::SmsGateway(Kind kind, std::string target) : kind_(kind), target_(std::move(target)) {}
SmsGateway::SmsGateway(SmsGateway&& other) noexcept
    : kind_(other.kind_), target_(std::move(other.target_)) {}

SmsGateway SmsGateway::outbox(std::string path) { return {Kind::Outbox, std::move(path)}; }
SmsGateway SmsGateway::webhook(std::string url) { return {Kind::Webhook, std::move(url)}; }
SmsGateway SmsGateway::none() { return {Kind::None, {}}; }

bool SmsGateway::send(const std::string& to, const std::string& body) {
    const std::string line =
        nlohmann::json{{"at", WallClock::format(WallClock::now())}, {"to", to}, {"body", body}}.dump();
    if (kind_ == Kind::None) return false;
    if (kind_ == Kind::Outbox) {
        std::lock_guard lock(mutex_);
        const int fd = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const std::string text = line + "\n";
        const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        return ok;
    }
    CURL* curl = curl_easy_init();
    if (!curl) return false;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/json");
    curl_easy_setopt(curl, CURLOPT_URL, target_.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, line.c_str());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION,
                     +[](char*, size_t size, size_t n, void*) -> size_t { return size * n; });
    long status = 0;
    const bool sent = curl_easy_perform(curl) == CURLE_OK &&
                      curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
                      status >= 200 && status < 300;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return sent;
}

}  // namespace kelpa::server
