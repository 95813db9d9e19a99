#include "platform/push/PushEndpoint.h"

#include <gtest/gtest.h>

namespace kelpa::platform {
namespace {

TEST(PushEndpoint, FollowsTheServiceAddress) {
    struct Case {
        std::string url;
        std::optional<PushEndpoint> endpoint;
        std::string display;
    };
    for (const auto& c : {
             Case{"http://127.0.0.1:8080", PushEndpoint{false, "127.0.0.1", "8080", ""}, "ws://127.0.0.1:8080/push"},
             Case{"HTTPS://kelpa.example.org/", PushEndpoint{true, "kelpa.example.org", "443", ""},
                  "wss://kelpa.example.org/push"},
             Case{"https://example.org:8443/kelpa/v1//", PushEndpoint{true, "example.org", "8443", "/kelpa/v1"},
                  "wss://example.org:8443/kelpa/v1/push"},
             Case{"http://[::1]:9000/x?y=1", PushEndpoint{false, "::1", "9000", "/x"}, "ws://[::1]:9000/x/push"},
             Case{"ws://host", PushEndpoint{false, "host", "80", ""}, "ws://host/push"},
             Case{"ftp://example.org", std::nullopt, ""},
             Case{"example.org:8080", std::nullopt, ""},
             Case{"http://:8080", std::nullopt, ""},
             Case{"http://host:0", std::nullopt, ""},
             Case{"http://host:99999", std::nullopt, ""},
             Case{"http://host:80x", std::nullopt, ""},
             Case{"http://user@host", std::nullopt, ""},
             Case{"", std::nullopt, ""},
         }) {
        const auto endpoint = PushEndpoint::fromServiceURL(c.url);
        EXPECT_EQ(endpoint, c.endpoint) << c.url;
        if (endpoint) {
            EXPECT_EQ(endpoint->displayURL(), c.display) << c.url;
        }
    }
}

TEST(PushEndpoint, TargetCarriesTheEncodedDeviceAndToken) {
    const auto endpoint = PushEndpoint::fromServiceURL("http://127.0.0.1:1/base");
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(endpoint->target("0123ABCD", "00ff"), "/base/push?deviceID=0123ABCD&token=00ff");
    EXPECT_EQ(endpoint->target("a b&c", "="), "/base/push?deviceID=a%20b%26c&token=%3D");
}

}  // namespace
}  // namespace kelpa::platform
