#include "client/service/Reply.h"

#include <gtest/gtest.h>

using kelpa::Reply;
using json = nlohmann::json;

TEST(ReplyRules, StatusReply) {
    struct Case {
        const char* what;
        std::optional<json> reply;
        std::int32_t code;
        std::optional<std::string> info;
    };
    const Case cases[] = {
        {"success with code", json{{"code", 0}}, 0, std::nullopt},
        {"success without code", json::object(), 0, std::nullopt},
        {"info marks failure", json{{"code", 1}, {"info", "not a member"}}, 1, "not a member"},
        {"info without code", json{{"info", "odd"}}, 0, "odd"},
        {"code as text", json{{"code", "3"}, {"info", "x"}}, 3, "x"},
        {"null info is no info", json{{"code", 0}, {"info", nullptr}}, 0, std::nullopt},
        {"no reply is a failure", std::nullopt, 1, "Unknown Error"},
        {"a list is no status", json::array(), 1, "Unknown Error"},
    };
    for (const auto& c : cases) {
        const auto result = Reply::status(c.reply);
        EXPECT_EQ(result.code, c.code) << c.what;
        EXPECT_EQ(result.info, c.info) << c.what;
    }
}

TEST(ReplyRules, ListReplyAcceptsOnlyTheExpectedShape) {
    const json list = json::array({json{{"userID", "1"}}});
    EXPECT_EQ(*Reply::list(list), list);
    EXPECT_EQ(*Reply::list(json{{"Contacts", list}}, "Contacts"), list);
    EXPECT_EQ(Reply::list(std::nullopt), nullptr);
    EXPECT_EQ(Reply::list(json{{"code", 1}, {"info", "no"}}), nullptr);  // an envelope
    EXPECT_EQ(Reply::list(list, "Contacts"), nullptr);                     // a list where an object was due
    EXPECT_EQ(Reply::list(json{{"Contacts", json::object()}}, "Contacts"), nullptr);
    EXPECT_EQ(Reply::list(json{{"Contacts", nullptr}}, "Contacts"), nullptr);
}

TEST(ReplyRules, ObjectReplyRefusesEnvelopesAndLists) {
    EXPECT_NE(Reply::object(json{{"userID", "5"}}), nullptr);
    EXPECT_EQ(Reply::object(json{{"code", 1}, {"info", "no such user"}}), nullptr);
    EXPECT_EQ(Reply::object(json::array()), nullptr);
    EXPECT_EQ(Reply::object(std::nullopt), nullptr);
}
