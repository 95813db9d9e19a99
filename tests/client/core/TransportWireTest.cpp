#include "LoopbackHttpServer.h"
#include "TestEnvironment.h"

#include "client/model/Functions.h"
#include "client/service/API.h"
#include "platform/Image.h"
#include "platform/Preferences.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using kelpa::API;
using kelpa::Action;
using kelpa::Parameters;
using kelpa::testing::LoopbackHttpServer;

// The exact bytes that reach the service, through the real HTTP client.
class TransportWire : public ::testing::Test {
protected:
    TransportWire()
        : server([this](const std::string&) {
              std::lock_guard lock(replyMutex);
              return reply;
          }) {
        t.useRealNetwork();
        API::setServiceBaseURL(server.url());
    }
    std::string onlyRequest() const {
        auto all = server.requests();
        EXPECT_EQ(all.size(), 1u);
        return all.empty() ? std::string() : all.front();
    }

    void setReply(LoopbackHttpServer::Reply scripted) {
        std::lock_guard lock(replyMutex);
        reply = std::move(scripted);
    }

    kelpa::testing::TestEnvironment t;
    std::mutex replyMutex;  // the server thread reads the script
    LoopbackHttpServer::Reply reply{200, R"({"code":0})"};
    LoopbackHttpServer server;
};

TEST_F(TransportWire, FormFieldsInOrderWithTheDeviceLastAndNoTrailingAmpersand) {
    const auto device = kelpa::Functions::getUUID();
    auto result = API::requestWithDictionary(Parameters(Action::join).add("groupID", "17"), std::string("5"));
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, nlohmann::json({{"code", 0}}));

    const auto raw = onlyRequest();
    EXPECT_TRUE(raw.starts_with("POST /api/v1.1/API.php HTTP/1.1\r\n")) << raw;
    EXPECT_NE(raw.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    EXPECT_EQ(LoopbackHttpServer::bodyOf(raw), "action=305&groupID=17&userID=5&deviceID=" + device);
}

TEST_F(TransportWire, NoUserFieldWithoutAUserAndJustTwoFieldsForABareAction) {
    API::requestWithDictionary(Parameters(Action::getGroups), std::nullopt);
    EXPECT_EQ(LoopbackHttpServer::bodyOf(onlyRequest()), "action=301&deviceID=" + kelpa::Functions::getUUID());
}

TEST_F(TransportWire, ValuesArePercentEncodedAndNumbersWrittenInFull) {
    API::requestWithDictionary(Parameters(Action::sendMessage)
                                   .add("text", "fish & chips = 100% + Grüße")
                                   .add("lati", 52.520008)
                                   .add("longi", -13.0)
                                   .add("toUserID", std::int32_t(-1)),
                               std::string("a b"));
    EXPECT_EQ(LoopbackHttpServer::bodyOf(onlyRequest()),
              "action=600&text=fish%20%26%20chips%20%3D%20100%25%20%2B%20Gr%C3%BC%C3%9Fe"
              "&lati=52.520008&longi=-13&toUserID=-1&userID=a%20b&deviceID=" +
                  kelpa::Functions::getUUID());
}

TEST_F(TransportWire, MultipartUploadHasTheFixedBoundaryPartsAndClosingLine) {
    kelpa::platform::Image image{8, 8, std::vector<std::uint8_t>(8 * 8 * 4, 200)};
    API::sendImage(image, Action::setProfileImage, "42");
    const auto raw = onlyRequest();
    const std::string boundary = "---------------------------14737809831466499882746641449";
    EXPECT_NE(raw.find("\r\nContent-Type: multipart/form-data; boundary=" + boundary + "\r\n"), std::string::npos) << raw;

    const auto body = LoopbackHttpServer::bodyOf(raw);
    const std::string texts = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"action\"\r\n\r\n108\r\n" +
                              "--" + boundary + "\r\nContent-Disposition: form-data; name=\"deviceID\"\r\n\r\n" +
                              kelpa::Functions::getUUID() + "\r\n" + "--" + boundary +
                              "\r\nContent-Disposition: form-data; name=\"userID\"\r\n\r\n42\r\n";
    const std::string imageHead = "--" + boundary +
                                  "\r\nContent-Disposition: form-data; name=\"image\"; filename=\"image.jpg\"\r\n"
                                  "Content-Type: image/jpeg\r\n\r\n";
    ASSERT_TRUE(body.starts_with(texts + imageHead)) << body.substr(0, 600);
    const std::string closing = "\r\n--" + boundary + "--\r\n";
    ASSERT_TRUE(body.ends_with(closing));
    const auto jpeg = body.substr(texts.size() + imageHead.size(),
                                  body.size() - texts.size() - imageHead.size() - closing.size());
    auto decoded = kelpa::platform::ImageCodec::decode(jpeg);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 8);
}

TEST_F(TransportWire, AnUploadWhoseImageCannotBeEncodedStillSendsTheTextsAndTheClosingLine) {
    API::sendImage(kelpa::platform::Image{}, Action::setProfileImage, "42");
    const auto body = LoopbackHttpServer::bodyOf(onlyRequest());
    const std::string boundary = "---------------------------14737809831466499882746641449";
    EXPECT_EQ(body, "--" + boundary + "\r\nContent-Disposition: form-data; name=\"action\"\r\n\r\n108\r\n" + "--" +
                        boundary + "\r\nContent-Disposition: form-data; name=\"deviceID\"\r\n\r\n" +
                        kelpa::Functions::getUUID() + "\r\n" + "--" + boundary +
                        "\r\nContent-Disposition: form-data; name=\"userID\"\r\n\r\n42\r\n" + "--" + boundary +
                        "--\r\n");
}

TEST_F(TransportWire, BadRepliesGiveNoReplyNeverACrash) {
    const std::pair<const char*, LoopbackHttpServer::Reply> cases[] = {
        {"not JSON", {200, "<html>hello</html>", "text/html"}},
        {"empty body", {200, ""}},
        {"bare number", {200, "12"}},
        {"bare string", {200, "\"ok\""}},
        {"500 page", {500, "<h1>Internal Server Error</h1>", "text/html"}},
        {"truncated JSON", {200, "{\"code\":"}},
        {"closed without reply", {200, "", "application/json", true}},
    };
    for (const auto& [what, scripted] : cases) {
        setReply(scripted);
        EXPECT_FALSE(API::requestWithDictionary(Parameters(Action::getGroups), std::string("1"))) << what;
    }
    // A JSON error body with status 500 is still read: the status is not examined.
    setReply({500, R"({"code":1,"info":"database down"})"});
    EXPECT_TRUE(API::requestWithDictionary(Parameters(Action::getGroups), std::string("1")));
}

TEST_F(TransportWire, ConnectionRefusedGivesNoReply) {
    API::setServiceBaseURL("http://127.0.0.1:1");
    EXPECT_FALSE(API::requestWithDictionary(Parameters(Action::getGroups), std::string("1")));
}

TEST(ServiceAddress, OptionBeatsEnvironmentBeatsPreferencesBeatsDefault) {
    kelpa::testing::TestEnvironment t;
    unsetenv("KELPA_SERVICE_URL");
    EXPECT_EQ(API::serviceBaseURL(), "http://127.0.0.1:8080");
    t.env().preferences->set("kServiceURL", "http://prefs.example:1/");
    EXPECT_EQ(API::serviceBaseURL(), "http://prefs.example:1");
    setenv("KELPA_SERVICE_URL", "https://env.example", 1);
    EXPECT_EQ(API::serviceBaseURL(), "https://env.example");
    API::setServiceBaseURL("http://option.example:9");
    EXPECT_EQ(API::serviceBaseURL(), "http://option.example:9");
    unsetenv("KELPA_SERVICE_URL");
}

// The app changes the address on the main queue while requests read it on their background
// queues; the thread sanitizer build checks that this is safe.
TEST(ServiceAddress, IsChangedWhileBackgroundQueuesReadIt) {
    kelpa::testing::TestEnvironment t;
    std::atomic<bool> stop{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&, env = kelpa::platform::Environment::current()] {
            kelpa::platform::Environment::Scope scope(env);
            while (!stop) {
                const auto url = API::serviceBaseURL();
                ASSERT_TRUE(url == "http://a.example" || url == "http://b.example" || url == "http://127.0.0.1:8080") << url;
            }
        });
    }
    for (int i = 0; i < 2000; ++i) API::setServiceBaseURL(i % 2 ? "http://a.example" : "http://b.example");
    stop = true;
    for (auto& reader : readers) reader.join();
}

TEST(DecodeJSON, OnlyObjectsAndListsAreReplies) {
    const std::pair<std::optional<std::string>, std::optional<nlohmann::json>> cases[] = {
        {"[]", nlohmann::json::array()},
        {R"({"code":2})", nlohmann::json({{"code", 2}})},
        {"12", std::nullopt},
        {"\"text\"", std::nullopt},
        {"true", std::nullopt},
        {"null", std::nullopt},
        {"", std::nullopt},
        {"{broken", std::nullopt},
        {std::nullopt, std::nullopt},
        {std::string("\0\0", 2), std::nullopt},
    };
    for (const auto& [body, expected] : cases) {
        EXPECT_EQ(API::decodeJSON(body), expected) << body.value_or("<none>");
    }
}
