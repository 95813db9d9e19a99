#include "server/http/FormDecoder.h"

#include <gtest/gtest.h>

namespace kelpa::server {
namespace {

TEST(ServerFormDecoderTest, DecodesUrlEncodedForms) {
    struct Case {
        const char* body;
        std::map<std::string, std::string> fields;
    };
    const Case cases[] = {
        {"action=305&groupID=17&userID=5&deviceID=AB", {{"action", "305"}, {"groupID", "17"}, {"userID", "5"}, {"deviceID", "AB"}}},
        {"text=a%20b+c%26d%3De%2B%25", {{"text", "a b c&d=e+%"}}},
        {"text=%C3%A4%F0%9F%91%8D", {{"text", "ä👍"}}},
        {"empty=&flag", {{"empty", ""}, {"flag", ""}}},
        {"a=1&&b=2&", {{"a", "1"}, {"b", "2"}}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const auto form = FormDecoder::urlEncoded(c.body);
        ASSERT_TRUE(form);
        EXPECT_EQ(form->fields, c.fields);
    }
}

TEST(ServerFormDecoderTest, RefusesAmbiguousForms) {
    for (const char* body : {"a=%zz", "a=%4", "a=1&a=2", "=value"}) {
        SCOPED_TRACE(body);
        EXPECT_FALSE(FormDecoder::urlEncoded(body));
    }
}

TEST(ServerFormDecoderTest, DecodesTheClientsMultipartUpload) {
    const std::string b = "---------------------------14737809831466499882746641449";
    const std::string body = "--" + b + "\r\nContent-Disposition: form-data; name=\"action\"\r\n\r\n108\r\n--" + b +
                             "\r\nContent-Disposition: form-data; name=\"image\"; filename=\"image.jpg\"\r\n"
                             "Content-Type: image/jpeg\r\n\r\n\xff\xd8\r\n--x\r\n--" + b + "--\r\n";
    const auto form = FormDecoder::multipart("multipart/form-data; boundary=" + b, body);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->fields, (std::map<std::string, std::string>{{"action", "108"}}));
    EXPECT_EQ(form->files.at("image"), "\xff\xd8\r\n--x");
    EXPECT_FALSE(FormDecoder::multipart("multipart/form-data", body));
    EXPECT_FALSE(FormDecoder::multipart("multipart/form-data; boundary=" + b, body.substr(0, 60)));
}

}  // namespace
}  // namespace kelpa::server
