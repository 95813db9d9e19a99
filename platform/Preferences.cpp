#include "platform/Preferences.h"

#include "platform/Log.h"

#include <fmt/format.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace kelpa::platform {

Preferences::Preferences(std::filesystem::path file) : file_(std::move(file)) { load(); }

void Preferences::load() {
    std::ifstream in(file_);
    if (!in) return;  // a new installation
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = nlohmann::json::parse(text.str(), nullptr, false);
    if (parsed.is_object()) {
        values_ = std::move(parsed);
    } else {
        // Keep the unreadable file for inspection rather than silently overwriting it.
        std::error_code ec;
        std::filesystem::rename(file_, file_.string() + ".corrupt", ec);
    }
}

void Preferences::save() const {
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
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
}

std::optional<nlohmann::json> Preferences::value(const std::string& key) const {
    std::lock_guard lock(mutex_);
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
    std::lock_guard lock(mutex_);
    values_[key] = std::move(value);
    save();
}

void Preferences::remove(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (values_.erase(key) > 0) save();
}

}  // namespace kelpa::platform
