#include "platform/kits/CrashKit.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace kelpa::platform {
namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// Keeps the process's own dispositions of the fatal signals across a test that starts a kit.
class SavedSignalHandlers {
public:
    SavedSignalHandlers() {
        for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], nullptr, &saved_[i]);
    }
    ~SavedSignalHandlers() {
        for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &saved_[i], nullptr);
    }

private:
    static constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
    struct sigaction saved_[std::size(kSignals)] {};
};

class CrashKitTest : public ::testing::Test {
protected:
    std::filesystem::path directory() const { return t.home() / "crash"; }

    kelpa::testing::TestEnvironment t;
    SavedSignalHandlers handlers;
};

// A write to a page that may not be touched: a real fault, not a signal sent.
void touchForbiddenPage() {
    void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
}

// Deep enough to run into the guard page; the volatile buffer keeps each frame.
int overflow(int depth) {
    if (depth < 0) return 0;
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return overflow(depth + 1) + frame[0];
}

TEST_F(CrashKitTest, ACrashLeavesAReportNamingTheSignal) {
    struct Case {
        int signal;
        const char* name;
        void (*crash)();
    };
    int run = 0;
    for (const auto& c : {
             Case{SIGSEGV, "SIGSEGV", touchForbiddenPage},
             Case{SIGSEGV, "SIGSEGV", [] { overflow(0); }},
             Case{SIGSEGV, "SIGSEGV", [] { ::raise(SIGSEGV); }},
             Case{SIGABRT, "SIGABRT", [] { std::abort(); }},
             Case{SIGFPE, "SIGFPE", [] { ::raise(SIGFPE); }},
             Case{SIGBUS, "SIGBUS", [] { ::raise(SIGBUS); }},
             Case{SIGILL, "SIGILL", [] { ::raise(SIGILL); }},
         }) {
        const auto dir = directory() / std::to_string(++run);
        SCOPED_TRACE(dir.filename().string() + ": " + c.name);
        CrashKit kit(dir);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The kit's handlers replace any the process had, a sanitizer's included.
            rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            kit.start();
            c.crash();
            ::_exit(0);  // not reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        // The default action still ends the process by the signal.
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), c.signal);

        const auto reports = kit.crashReports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(reports[0].filename().string().ends_with("-" + std::to_string(child) + ".txt")) << reports[0];
        const auto report = lines(reports[0]);
        ASSERT_GE(report.size(), 5u) << contents(reports[0]);
        EXPECT_EQ(report[0], std::string("signal ") + c.name + " (" + std::to_string(c.signal) + ")");
        EXPECT_TRUE(report[1].starts_with("time 20")) << report[1];
        EXPECT_EQ(report[2], "pid " + std::to_string(child));
        const auto text = contents(reports[0]);
        EXPECT_NE(text.find("backtrace:\n"), std::string::npos) << text;
        EXPECT_NE(text.find("crash_kit_test"), std::string::npos) << text;  // frames of this program
    }
}

TEST_F(CrashKitTest, AnEarlierRunsReportIsLoggedOnceAtStart) {
    std::filesystem::create_directories(directory());
    std::ofstream(directory() / "crash-20260301T120000Z-41.txt") << "signal SIGBUS (7)\ntime x\n";
    std::ofstream(directory() / "crash-20260302T080000Z-42.txt") << "signal SIGSEGV (11)\ntime x\n";

    CrashKit kit(directory());
    EXPECT_FALSE(kit.started());
    kit.start();
    EXPECT_TRUE(kit.started());
    const auto newest = (directory() / "crash-20260302T080000Z-42.txt").string();
    EXPECT_EQ(t.logLines(),
              std::vector<std::string>{"crash kit: an earlier run ended with SIGSEGV (11); report: " + newest});
    EXPECT_EQ(kit.crashReports(), (std::vector<std::filesystem::path>{directory() / "crash-20260301T120000Z-41.txt",
                                                                       directory() / "crash-20260302T080000Z-42.txt"}));

    // A second start, and the next run, say nothing more about it.
    kit.start();
    CrashKit nextRun(directory());
    nextRun.start();
    EXPECT_EQ(t.logLines().size(), 1u);
}

TEST_F(CrashKitTest, SecondStartLeavesTheHandlersAsTheyAre) {
    CrashKit kit(directory());
    kit.start();
    struct sigaction installed {};
    ::sigaction(SIGSEGV, nullptr, &installed);
    EXPECT_TRUE(installed.sa_flags & SA_SIGINFO);

    // Someone else takes SIGSEGV over; a second start must not take it back.
    struct sigaction other {};
    other.sa_handler = SIG_IGN;
    ::sigaction(SIGSEGV, &other, nullptr);
    kit.start();
    struct sigaction now {};
    ::sigaction(SIGSEGV, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    EXPECT_TRUE(std::filesystem::is_directory(directory()));
    EXPECT_TRUE(kit.crashReports().empty());
    EXPECT_TRUE(t.logLines().empty());
}

// UTC as the C library renders it, with the milliseconds the events carry.
std::string utc(std::chrono::system_clock::time_point at, int millis) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm tm{};
    ::gmtime_r(&seconds, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03dZ", millis);
    return std::string(text) + fraction;
}

TEST_F(CrashKitTest, EventsAreAppendedAsJsonLines) {
    const auto start = t.loop().now();  // a whole second: the tests' day starts at 09:00 sharp
    CrashKit kit(directory());
    kit.logEvent("activateApp");
    kit.logEvent("signIn", {{"socialType", 1}, {"method", "email"}});
    kit.logEvent("bad bytes \xff", nullptr);
    t.loop().runFor(std::chrono::milliseconds(1500));
    CrashKit(directory()).logEvent("later");

    const auto events = lines(directory() / "usage.jsonl");
    ASSERT_EQ(events.size(), 4u);
    const auto first = nlohmann::json::parse(events[0]);
    // The main queue's clock stamps the events.
    EXPECT_EQ(first, (nlohmann::json{{"at", utc(start, 0)}, {"event", "activateApp"},
                                     {"attributes", nlohmann::json::object()}}));
    EXPECT_EQ(nlohmann::json::parse(events[1]).at("attributes"), (nlohmann::json{{"socialType", 1}, {"method", "email"}}));
    EXPECT_EQ(nlohmann::json::parse(events[2]).at("event"), "bad bytes \xEF\xBF\xBD");
    EXPECT_EQ(nlohmann::json::parse(events[2]).at("attributes"), nlohmann::json::object());
    EXPECT_EQ(nlohmann::json::parse(events[3]).at("at"), utc(start + std::chrono::seconds(1), 500));
    EXPECT_TRUE(t.logLines().empty());
}

TEST_F(CrashKitTest, AnUnwritableDirectoryIsLoggedOnce) {
    std::ofstream(t.home() / "file") << "x";
    CrashKit kit(t.home() / "file" / "crash");
    kit.logEvent("a");
    kit.logEvent("b");
    ASSERT_EQ(t.logLines().size(), 1u);
    EXPECT_TRUE(t.logLines()[0].starts_with("crash kit: cannot write usage events to " +
                                            (t.home() / "file" / "crash" / "usage.jsonl").string() + ": "))
        << t.logLines()[0];
}

}  // namespace
}  // namespace kelpa::platform
