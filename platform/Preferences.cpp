#include "platform/Preferences.h"

#include "platform/Log.h"

#include <fmt/format.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelpa::platform {

namespace {
// An exclusive lock on a file beside the preferences, held for one read-change-write.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};
}  // namespace

Preferences::Preferences(std::filesystem::path file) : file_(std::move(file)) {
    std::lock_guard lock(mutex_);
    reload();
}

Preferences::Stamp Preferences::stamp() const {
    struct stat info {};
    if (::stat(file_.c_str(), &info) != 0) return {};
    return {static_cast<unsigned long>(info.st_ino), info.st_mtim.tv_sec * 1000000000L + info.st_mtim.tv_nsec,
            static_cast<long>(info.st_size), true};
}

void Preferences::reload() const {
    const Stamp now = stamp();
    if (now == loaded_ && now.exists) return;
    loaded_ = now;
    if (!now.exists) return;  // a new installation, or nothing written yet
    std::ifstream in(file_);
    if (!in) return;
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = nlohmann::json::parse(text.str(), nullptr, false);
    if (parsed.is_object()) {
        values_ = std::move(parsed);
    } else {
        // Keep the unreadable file for inspection rather than silently overwriting it.
        std::error_code ec;
        std::filesystem::rename(file_, file_.string() + ".corrupt", ec);
        loaded_ = {};
    }
}

bool Preferences::save() const {
    const auto temporary = file_.string() + ".tmp";
    const std::string text = values_.dump(2) + "\n";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    if (ok) {
        ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ok = ::fsync(fd) == 0 && ok;
        ok = ::close(fd) == 0 && ok;
    }
    if (ok) ok = std::rename(temporary.c_str(), file_.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
        log(fmt::format("could not write preferences to {}", file_.string()));
    }
    return ok;
}

void Preferences::change(const std::function<bool(nlohmann::json&)>& edit) {
    std::lock_guard lock(mutex_);
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    FileLock fileLock(file_.string() + ".lock");
    // What another process wrote since our last look is the base of this change.
    reload();
    if (!edit(values_)) return;
    if (save()) loaded_ = stamp();
}

std::optional<nlohmann::json> Preferences::value(const std::string& key) const {
    std::lock_guard lock(mutex_);
    reload();
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return *it;
}

std::optional<std::string> Preferences::string(const std::string& key) const {
    auto v = value(key);
    if (!v || !v->is_string()) return std::nullopt;
    return v->get<std::string>();
}

void Preferences::set(const std::string& key, nlohmann::json value) {
    change([&](nlohmann::json& values) {
        values[key] = std::move(value);
        return true;
    });
}

void Preferences::remove(const std::string& key) {
    change([&](nlohmann::json& values) { return values.erase(key) > 0; });
}

}  // namespace kelpa::platform
