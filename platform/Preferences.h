#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace kelpa::platform {

// The per-installation preferences store: one JSON file, safe from any thread, rewritten
// atomically (temporary file, then rename) so a crash never leaves it half written. Several
// processes may share an installation (the app and kelpactl): every change is made under a
// lock on the file, on top of what is on disk then, and reads see other processes' changes.
class Preferences {
public:
    explicit Preferences(std::filesystem::path file);

    std::optional<nlohmann::json> value(const std::string& key) const;
    std::optional<std::string> string(const std::string& key) const;
    void set(const std::string& key, nlohmann::json value);
    void remove(const std::string& key);

    const std::filesystem::path& file() const { return file_; }

private:
    // Every write renames a new file into place, so the inode tells a change apart even
    // within the file system's timestamp granularity.
    struct Stamp {
        unsigned long inode = 0;
        long modifiedNs = 0;
        long size = 0;
        bool exists = false;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp() const;
    // Both run with mutex_ held.
    void reload() const;
    void change(const std::function<bool(nlohmann::json&)>& edit);
    bool save() const;

    const std::filesystem::path file_;
    mutable std::mutex mutex_;
    mutable nlohmann::json values_ = nlohmann::json::object();
    mutable Stamp loaded_;
};

}  // namespace kelpa::platform
