#include "LoopbackHttpServer.h"

#include "platform/CurlHttpClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;
using kelpa::platform::CurlHttpClient;
using kelpa::platform::HttpRequest;
using kelpa::testing::LoopbackHttpServer;

namespace {
// A loopback port with nobody listening: bound and closed again.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}
}  // namespace

TEST(CurlHttpClient, PostsTheBodyAndReturnsStatusAndBodyOfAnyReply) {
    LoopbackHttpServer server([](const std::string&) { return LoopbackHttpServer::Reply{500, "<h1>oops</h1>", "text/html"}; });
    HttpRequest request;
    request.url = server.url() + "/path";
    request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    request.body = "a=1&b=2";
    auto response = CurlHttpClient().send(request);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 500);
    EXPECT_EQ(response->body, "<h1>oops</h1>");
    // Header names are matched without regard to case; values come without the line ending.
    EXPECT_EQ(response->header("content-type"), "text/html");
    EXPECT_EQ(response->header("X-Missing"), std::nullopt);
    const auto raw = server.requests().at(0);
    EXPECT_TRUE(raw.starts_with("POST /path HTTP/1.1\r\n")) << raw;
    EXPECT_NE(raw.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    EXPECT_EQ(LoopbackHttpServer::bodyOf(raw), "a=1&b=2");
}

TEST(CurlHttpClient, FailedExchangesGiveNothing) {
    LoopbackHttpServer silent([](const std::string&) {
        LoopbackHttpServer::Reply reply;
        reply.silent = true;
        return reply;
    });
    LoopbackHttpServer hangsUp([](const std::string&) {
        LoopbackHttpServer::Reply reply;
        reply.hangUp = true;
        return reply;
    });
    const std::pair<const char*, std::string> cases[] = {
        {"connection refused", "http://127.0.0.1:" + std::to_string(closedPort()) + "/"},
        {"time-out", silent.url() + "/"},
        {"closed without a reply", hangsUp.url() + "/"},
        {"no such scheme", "nope://127.0.0.1/"},
    };
    for (const auto& [what, url] : cases) {
        HttpRequest request;
        request.url = url;
        request.timeout = 300ms;
        EXPECT_FALSE(CurlHttpClient().send(request)) << what;
    }
}
