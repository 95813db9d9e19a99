#include "TestEnvironment.h"

#include "platform/Preferences.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

using kelpa::platform::Preferences;

class PreferencesTest : public ::testing::Test {
protected:
    kelpa::testing::TestEnvironment t;
    std::filesystem::path file() const { return t.home() / "prefs" / "preferences.json"; }
};

TEST_F(PreferencesTest, ValuesSurviveANewInstanceAndRemovalToo) {
    {
        Preferences prefs(file());
        prefs.set("kUserID", "42");
        prefs.set("number", 7);
        prefs.set("gone", true);
        prefs.remove("gone");
    }
    Preferences again(file());
    EXPECT_EQ(again.string("kUserID"), "42");
    EXPECT_EQ(again.value("number"), nlohmann::json(7));
    EXPECT_FALSE(again.value("gone"));
    EXPECT_FALSE(again.string("number"));  // not a text
    EXPECT_FALSE(std::filesystem::exists(file().string() + ".tmp"));
}

TEST_F(PreferencesTest, ACorruptFileIsSetAsideNotLost) {
    std::filesystem::create_directories(file().parent_path());
    std::ofstream(file()) << "{ half written";
    Preferences prefs(file());
    EXPECT_FALSE(prefs.value("anything"));
    EXPECT_TRUE(std::filesystem::exists(file().string() + ".corrupt"));
    prefs.set("k", "v");
    EXPECT_EQ(Preferences(file()).string("k"), "v");
}

TEST_F(PreferencesTest, ConcurrentWritersLoseNothing) {
    Preferences prefs(file());
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < 25; ++i) prefs.set("w" + std::to_string(w) + "-" + std::to_string(i), i);
        });
    }
    for (auto& thread : writers) thread.join();
    Preferences reread(file());
    for (int w = 0; w < 4; ++w) {
        for (int i = 0; i < 25; ++i) EXPECT_EQ(reread.value("w" + std::to_string(w) + "-" + std::to_string(i)), nlohmann::json(i));
    }
}

// The app and kelpactl keep one installation folder: each store is a process of its own.
TEST_F(PreferencesTest, TwoStoresOnOneFileKeepEachOthersChanges) {
    Preferences app(file());
    Preferences cli(file());
    app.set("kDeviceID", "ABC");
    cli.set("kUserID", "42");  // written on top of what the app wrote
    app.set("kServiceURL", "http://x");
    EXPECT_EQ(app.string("kUserID"), "42");
    EXPECT_EQ(cli.string("kServiceURL"), "http://x");
    cli.remove("kDeviceID");
    EXPECT_FALSE(app.value("kDeviceID"));
    Preferences fresh(file());
    EXPECT_EQ(fresh.string("kUserID"), "42");
    EXPECT_EQ(fresh.string("kServiceURL"), "http://x");
}

TEST_F(PreferencesTest, ConcurrentStoresOnOneFileLoseNothing) {
    std::vector<std::thread> writers;
    for (int w = 0; w < 3; ++w) {
        writers.emplace_back([&, w] {
            Preferences own(file());  // its own open file, as another process would have
            for (int i = 0; i < 20; ++i) own.set("s" + std::to_string(w) + "-" + std::to_string(i), i);
        });
    }
    for (auto& thread : writers) thread.join();
    Preferences reread(file());
    for (int w = 0; w < 3; ++w) {
        for (int i = 0; i < 20; ++i) EXPECT_EQ(reread.value("s" + std::to_string(w) + "-" + std::to_string(i)), nlohmann::json(i));
    }
}
