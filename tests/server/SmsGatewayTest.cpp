// Text messages leave through the outbox file or a webhook; a message the gateway does not
// take is a failure and does not count as a code sent to that number.
#include <fstream>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "server/phone/SmsGateway.h"
#include "server/WallClock.h"
#include "tests/server/Installation.h"
#include "tests/server/ServerProcess.h"
#include "tests/server/TestDatabase.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;
using kelpa::testing::LoopbackHttpServer;

void expectMessage(const json& message, const std::string& to, const std::string& body) {
    EXPECT_EQ(message.value("to", ""), to);
    EXPECT_EQ(message.value("body", ""), body);
    EXPECT_TRUE(WallClock::parse(message.value("at", ""))) << message.dump();
}

TEST(SmsWebhook, PostsTheMessageAsJsonAndSucceedsOnlyOnA2xxAnswer) {
    const struct {
        const char* name;
        LoopbackHttpServer::Reply reply;
        bool sent;
    } cases[] = {
        {"ok", {200, "{}"}, true},
        {"no content", {204, ""}, true},
        {"server error", {500, "down"}, false},
        {"not found", {404, ""}, false},
        {"hang-up", {200, "", "application/json", true}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer hook([&](const std::string&) { return c.reply; });
        auto gateway = SmsGateway::webhook(hook.url() + "/sms");
        EXPECT_EQ(gateway.send("+4915112345678", "Your code: 4711 & \"more\""), c.sent);
        const auto requests = hook.requests();
        ASSERT_EQ(requests.size(), 1u);
        const auto head = LoopbackHttpServer::headOf(requests[0]);
        EXPECT_TRUE(head.starts_with("POST /sms HTTP/1.1\r\n")) << head;
        EXPECT_NE(head.find("Content-Type: application/json\r\n"), std::string::npos) << head;
        expectMessage(json::parse(LoopbackHttpServer::bodyOf(requests[0])), "+4915112345678",
                      "Your code: 4711 & \"more\"");
    }
}

TEST(SmsWebhook, AnUnreachableWebhookIsAFailure) {
    std::optional<LoopbackHttpServer> gone(std::in_place, [](const std::string&) { return LoopbackHttpServer::Reply{}; });
    const auto url = gone->url();
    gone.reset();
    EXPECT_FALSE(SmsGateway::webhook(url).send("+491701", "x"));
}

TEST(SmsOutbox, AppendsOneJsonLinePerMessageAndFailsWhenItCannotWrite) {
    TestDatabase scratch("sqlite");
    const auto path = scratch.directory() + "/outbox.jsonl";
    auto outbox = SmsGateway::outbox(path);
    EXPECT_TRUE(outbox.send("+491701", "one"));
    EXPECT_TRUE(outbox.send("+491702", "two\nlines"));
    std::ifstream in(path);
    std::string line;
    std::vector<json> lines;
    while (std::getline(in, line)) lines.push_back(json::parse(line));
    ASSERT_EQ(lines.size(), 2u);
    expectMessage(lines[0], "+491701", "one");
    expectMessage(lines[1], "+491702", "two\nlines");
    EXPECT_FALSE(SmsGateway::outbox(scratch.directory() + "/missing/outbox.jsonl").send("+491701", "x"));
}

// The server with --sms-webhook: the code reaches the hook, and a number whose message the
// hook refused cannot be confirmed.
TEST(SmsWebhookServer, DeliversCodesAndOnlyConfirmsNumbersThatWereSentOne) {
    LoopbackHttpServer hook([](const std::string& raw) {
        const auto message = json::parse(LoopbackHttpServer::bodyOf(raw), nullptr, false);
        const bool refuse = message.is_object() && message.value("to", "") == "+491709";
        return LoopbackHttpServer::Reply{refuse ? 503 : 200, "{}"};
    });
    TestDatabase database("sqlite");
    ServerProcess server(database.url(), database.directory(), {"--sms-webhook", hook.url() + "/sms"});
    server.start();
    Installation ann(server.port(), Installation::randomDeviceId());
    ASSERT_FALSE(ann.registerEmail("ann@example.org", "Ann").empty());

    EXPECT_EQ(ann.call(110, {{"body", "4711"}, {"target", "+491701"}}), json({{"code", 0}}));
    ASSERT_EQ(hook.requests().size(), 1u);
    expectMessage(json::parse(LoopbackHttpServer::bodyOf(hook.requests()[0])), "+491701",
                  "Your Kelpa verification code is 4711. It is valid for 15 minutes.");
    EXPECT_EQ(ann.call(112, {{"phoneNumber", "+491701"}, {"code", "4711"}}), json({{"code", 0}}));

    EXPECT_EQ(ann.call(110, {{"body", "4712"}, {"target", "+491709"}}),
              json({{"code", 1}, {"info", "Sending the text message failed"}}));
    EXPECT_EQ(ann.call(112, {{"phoneNumber", "+491709"}, {"code", "4712"}}),
              json({{"code", 1}, {"info", "This number has no valid code, ask for a new one"}}));
    server.terminate();
}

}  // namespace
}  // namespace kelpa::server::testing
