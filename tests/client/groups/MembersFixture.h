#pragma once

#include "GroupsFixture.h"

#include "platform/FakeHttpClient.h"
#include "platform/Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelpa::testing {

// Tour (17): Ann (5, signed in), Bob (6) and Cid (7); the leader is the one given. Bob is
// joined on D6.
inline json tourOf(const std::string& leader, std::vector<std::string> ids = {"5", "6", "7"}) {
    json members = json::array();
    for (const auto& id : ids) {
        members.push_back(GroupsFixture::member(id, id == leader, id == "6" ? std::optional<std::string>("D6") : std::nullopt));
    }
    return GroupsFixture::group("17", "Tour", members);
}

// The contact list reply for these user identifiers.
inline json contactsOf(const std::vector<std::string>& ids) {
    json users = json::array();
    for (const auto& id : ids) users.push_back(AppFixture::userJSON(id, "User " + id));
    return {{"Contacts", users}};
}

// Every user's picture is one shade: 10 times the identifier.
inline std::uint8_t shadeOf(const std::string& userID) { return static_cast<std::uint8_t>(10 * std::stoi(userID)); }

// The answer to GET /Profiles/<id>: that user's picture. Form requests nobody queued get no reply.
inline std::optional<platform::HttpResponse> pictureFor(const platform::HttpRequest& request) {
    if (request.method != "GET") return std::nullopt;
    const auto id = request.url.substr(request.url.rfind('/') + 1);
    const platform::Image image{2, 2, std::vector<std::uint8_t>(16, shadeOf(id))};
    auto png = *platform::ImageCodec::encodePNG(image);
    png.resize(400, '\0');  // pictures of fewer than 300 bytes count as none
    return platform::HttpResponse{200, png};
}
inline void servePictures(platform::FakeHttpClient& http) { http.setResponder(pictureFor); }

// The shade of the picture a cell shows; -1 for none.
inline int shadeIn(const platform::ui::TableViewCell& cell) {
    const auto& image = cell.imageView().image();
    return image && !image->rgba.empty() ? image->rgba.front() : -1;
}

}  // namespace kelpa::testing
