#include "tests/server/Installation.h"

#include <random>

#include <fmt/format.h>

namespace kelpa::server::testing {

Installation::Installation(std::uint16_t port, std::string deviceId, boost::asio::ssl::context* tls)
    : tls_(tls), client_(port, tls), deviceId_(std::move(deviceId)) {}

std::string Installation::randomDeviceId() {
    std::random_device random;
    return fmt::format("{:08X}{:08X}{:08X}{:08X}", random(), random(), random(), random());
}

nlohmann::json Installation::send(int action, const HttpTestClient::Fields& fields, const std::string& user) {
    HttpTestClient::Fields all = {{"action", std::to_string(action)}};
    all.insert(all.end(), fields.begin(), fields.end());
    all.emplace_back("userID", user);
    all.emplace_back("deviceID", deviceId_);
    return client_.post(HttpTestClient::formEncode(all)).json();
}

nlohmann::json Installation::call(int action, const HttpTestClient::Fields& fields) {
    return send(action, fields, userId_);
}

nlohmann::json Installation::anonymous(int action, const HttpTestClient::Fields& fields) {
    return send(action, fields, "-4321");
}

std::string Installation::registerEmail(const std::string& email, const std::string& name) {
    // The client sends the SHA-256 hex of the password; any 64 hex characters do here.
    const auto reply = anonymous(105, {{"email", email},
                                       {"password", std::string(64, 'a')},
                                       {"displayName", name}});
    userId_ = reply.value("userID", "");
    return userId_;
}

nlohmann::json Installation::uploadPicture(const std::string& jpeg) {
    const std::string boundary = "---------------------------14737809831466499882746641449";
    std::string body;
    for (const auto& [name, value] : {std::pair<std::string, std::string>{"action", "108"},
                                      {"deviceID", deviceId_},
                                      {"userID", userId_}})
        body += fmt::format("--{}\r\nContent-Disposition: form-data; name=\"{}\"\r\n\r\n{}\r\n", boundary,
                            name, value);
    body += fmt::format("--{}\r\nContent-Disposition: form-data; name=\"image\"; filename=\"image.jpg\"\r\n"
                        "Content-Type: image/jpeg\r\n\r\n", boundary);
    body += jpeg;
    body += fmt::format("\r\n--{}--\r\n", boundary);
    return client_.post(body, "multipart/form-data; boundary=" + boundary).json();
}

}  // namespace kelpa::server::testing
