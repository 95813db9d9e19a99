#include "platform/FormEncoding.h"

#include <gtest/gtest.h>

using kelpa::platform::FormEncoding;

TEST(FormEncoding, PercentEncodesEverythingButUnreservedCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain-Text_1.2~", "plain-Text_1.2~"},
        {"a b", "a%20b"},
        {"fish & chips", "fish%20%26%20chips"},
        {"a=b+c%d", "a%3Db%2Bc%25d"},
        {"Grüße", "Gr%C3%BC%C3%9Fe"},
        {"", ""},
    };
    for (const auto& [text, encoded] : cases) {
        EXPECT_EQ(FormEncoding::percentEncode(text), encoded) << text;
        EXPECT_EQ(FormEncoding::percentDecode(encoded), text) << encoded;
    }
}

TEST(FormEncoding, DecodesFormBodiesLeniently) {
    const auto fields = FormEncoding::decode("action=305&text=a+b%20c&broken=%zz&&flag&deviceID=X");
    const FormEncoding::Fields expected = {
        {"action", "305"}, {"text", "a b c"}, {"broken", "%zz"}, {"flag", ""}, {"deviceID", "X"}};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(FormEncoding::encode(expected), "action=305&text=a%20b%20c&broken=%25zz&flag=&deviceID=X");
}
