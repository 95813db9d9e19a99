#include "client/service/Action.h"

#include <gtest/gtest.h>

#include <set>

using kelpa::Action;
using kelpa::ActionCatalogue;

TEST(ActionCatalogue, ThirtySixDistinctCodesInTheirFamilies) {
    std::set<std::int32_t> codes;
    for (const auto& entry : ActionCatalogue::all()) {
        const auto code = ActionCatalogue::code(entry.action);
        EXPECT_TRUE(codes.insert(code).second) << code;
        EXPECT_GE(code / 100, 1);
        EXPECT_LE(code / 100, 6);
        EXPECT_EQ(ActionCatalogue::fromCode(code), entry.action);
        EXPECT_EQ(&ActionCatalogue::info(entry.action), &entry);
    }
    EXPECT_EQ(codes.size(), 36u);
    EXPECT_FALSE(ActionCatalogue::fromCode(304));
    EXPECT_FALSE(ActionCatalogue::fromCode(310));
}

TEST(ActionCatalogue, AnonymousActionsAreTheSignInsRegistrationsAndTheToken) {
    std::set<std::int32_t> anonymous;
    for (const auto& entry : ActionCatalogue::all()) {
        if (entry.anonymous) anonymous.insert(ActionCatalogue::code(entry.action));
    }
    EXPECT_EQ(anonymous, (std::set<std::int32_t>{100, 102, 104, 105, 106}));
    EXPECT_EQ(ActionCatalogue::info(Action::leaveGroup).name, "removeGroup");
    EXPECT_EQ(ActionCatalogue::info(Action::deleteGroup).name, "removeGroup");
}
