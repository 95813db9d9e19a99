#include "platform/kits/CrashKit.h"

#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"

#include <fmt/format.h>

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>

namespace kelpa::platform {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr const char* kReportPrefix = "crash-";
constexpr const char* kReportSuffix = ".txt";
// Holds the name of the newest report already logged, so each is logged once.
constexpr const char* kReportedMarker = "reported";

// What the handler needs, prepared by start(): nothing in the handler allocates.
char gDirectory[3072];
alignas(16) char gAlternateStack[64 * 1024];

const char* signalName(int signal) {
    switch (signal) {
        case SIGSEGV: return "SIGSEGV";
        case SIGBUS: return "SIGBUS";
        case SIGILL: return "SIGILL";
        case SIGFPE: return "SIGFPE";
        case SIGABRT: return "SIGABRT";
        default: return "signal";
    }
}

// Text building for the handler: fixed buffers, no library calls that may allocate or lock.
class Line {
public:
    void text(const char* s) {
        while (*s && length_ + 1 < sizeof buffer_) buffer_[length_++] = *s++;
        buffer_[length_] = '\0';
    }
    void number(unsigned long value, int width = 1) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0 && count < 20);
        while (count < width && count < 20) digits[count++] = '0';
        while (count > 0 && length_ + 1 < sizeof buffer_) buffer_[length_++] = digits[--count];
        buffer_[length_] = '\0';
    }
    void hex(unsigned long value) {
        text("0x");
        char digits[20];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value & 0xf];
            value >>= 4;
        } while (value > 0);
        while (count > 0 && length_ + 1 < sizeof buffer_) buffer_[length_++] = digits[--count];
        buffer_[length_] = '\0';
    }
    const char* c_str() const { return buffer_; }
    void writeTo(int fd) const {
        std::size_t done = 0;
        while (done < length_) {
            const auto n = ::write(fd, buffer_ + done, length_ - done);
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }

private:
    char buffer_[sizeof gDirectory + 128] = {};
    std::size_t length_ = 0;
};

// UTC calendar fields by arithmetic alone (days from civil, inverted), since gmtime is not
// async-signal-safe.
struct Civil {
    long year;
    unsigned month, day, hour, minute, second;
};

Civil civilFromUnix(long seconds) {
    long days = seconds / 86400;
    long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const long year = static_cast<long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day, static_cast<unsigned>(rest / 3600), static_cast<unsigned>(rest % 3600 / 60),
            static_cast<unsigned>(rest % 60)};
}

void appendTime(Line& line, const Civil& t, bool compact) {
    line.number(static_cast<unsigned long>(t.year), 4);
    if (!compact) line.text("-");
    line.number(t.month, 2);
    if (!compact) line.text("-");
    line.number(t.day, 2);
    line.text("T");
    line.number(t.hour, 2);
    if (!compact) line.text(":");
    line.number(t.minute, 2);
    if (!compact) line.text(":");
    line.number(t.second, 2);
    line.text("Z");
}

void onCrash(int signal, siginfo_t* info, void*) {
    const int savedErrno = errno;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const Civil time = civilFromUnix(static_cast<long>(now.tv_sec));

    Line path;
    path.text(gDirectory);
    path.text("/");
    path.text(kReportPrefix);
    appendTime(path, time, true);
    path.text("-");
    path.number(static_cast<unsigned long>(::getpid()));
    path.text(kReportSuffix);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        Line head;
        head.text("signal ");
        head.text(signalName(signal));
        head.text(" (");
        head.number(static_cast<unsigned long>(signal));
        head.text(")\ntime ");
        appendTime(head, time, false);
        head.text("\npid ");
        head.number(static_cast<unsigned long>(::getpid()));
        if (info && (signal == SIGSEGV || signal == SIGBUS || signal == SIGILL || signal == SIGFPE)) {
            head.text("\naddress ");
            head.hex(reinterpret_cast<unsigned long>(info->si_addr));
        }
        head.text("\nbacktrace:\n");
        head.writeTo(fd);
        void* frames[64];
        const int count = ::backtrace(frames, 64);
        ::backtrace_symbols_fd(frames, count, fd);
        ::fsync(fd);
        ::close(fd);
    }

    // Now the default action: the process ends by this signal, with a core where enabled.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    ::raise(signal);
    // A fault raised by an instruction comes again when the handler returns.
    errno = savedErrno;
}

std::string isoTime(std::chrono::system_clock::time_point at) {
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
    long seconds = static_cast<long>(millis / 1000);
    long fraction = static_cast<long>(millis % 1000);
    if (fraction < 0) {
        fraction += 1000;
        --seconds;
    }
    const Civil t = civilFromUnix(seconds);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}.{:03}Z", t.year, t.month, t.day, t.hour, t.minute,
                       t.second, fraction);
}

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

CrashKit::CrashKit(std::filesystem::path directory)
    : directory_(std::move(directory)), mainQueue_(Environment::current()->mainQueue) {}

void CrashKit::start() {
    if (started_.exchange(true)) return;
    std::error_code ec;
    std::filesystem::create_directories(directory_, ec);
    reportEarlierCrash();

    const std::string directory = directory_.string();
    if (directory.size() >= sizeof gDirectory) {
        log(fmt::format("crash kit: the directory {} is too long a path for crash reports", directory));
        return;
    }
    std::memcpy(gDirectory, directory.c_str(), directory.size() + 1);
    // The first backtrace() loads the unwinder, which must not happen inside the handler.
    void* frame[1];
    ::backtrace(frame, 1);
    // A stack overflow leaves no stack for the handler: give this thread a spare one.
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        stack_t spare{};
        spare.ss_sp = gAlternateStack;
        spare.ss_size = sizeof gAlternateStack;
        ::sigaltstack(&spare, nullptr);
    }
    struct sigaction action {};
    action.sa_sigaction = onCrash;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

void CrashKit::reportEarlierCrash() const {
    const auto reports = crashReports();
    if (reports.empty()) return;
    const auto marker = directory_ / kReportedMarker;
    const std::string newest = reports.back().filename().string();
    if (firstLine(marker) == newest) return;
    std::string what = firstLine(reports.back());
    if (what.starts_with("signal ")) what = what.substr(7);
    log(fmt::format("crash kit: an earlier run ended with {}; report: {}", what.empty() ? "a crash" : what,
                    reports.back().string()));
    std::ofstream(marker, std::ios::trunc) << newest << '\n';
}

void CrashKit::logEvent(const std::string& name, const nlohmann::json& attributes) {
    const auto at = mainQueue_ ? mainQueue_->now() : std::chrono::system_clock::now();
    const nlohmann::json event = {
        {"at", isoTime(at)},
        {"event", name},
        {"attributes", attributes.is_null() ? nlohmann::json::object() : attributes},
    };
    // Replacing bad UTF-8 keeps a stray byte from costing the event (or throwing).
    const std::string line = event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    const auto file = directory_ / kUsageFile;

    std::lock_guard lock(eventsMutex_);
    std::error_code ec;
    std::filesystem::create_directories(directory_, ec);
    // One write with O_APPEND: lines of several processes never interleave.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    const int error = ok ? 0 : errno;
    if (ok) {
        ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
        ::close(fd);
    }
    if (!ok && !eventsFailed_) {
        eventsFailed_ = true;
        log(fmt::format("crash kit: cannot write usage events to {}: {}", file.string(),
                        std::strerror(error ? error : EIO)));
    }
}

std::vector<std::filesystem::path> CrashKit::crashReports() const {
    std::vector<std::filesystem::path> reports;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(kReportPrefix) && name.ends_with(kReportSuffix) && it->is_regular_file(ec))
            reports.push_back(it->path());
    }
    std::sort(reports.begin(), reports.end());
    return reports;
}

}  // namespace kelpa::platform
