#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace kelpa::platform {

// The per-installation preferences store: one JSON file, safe from any thread, rewritten
// atomically (temporary file, then rename) so a crash never leaves it half written.
class Preferences {
public:
    explicit Preferences(std::filesystem::path file);

    std::optional<nlohmann::json> value(const std::string& key) const;
    std::optional<std::string> string(const std::string& key) const;
    void set(const std::string& key, nlohmann::json value);
    void remove(const std::string& key);

    const std::filesystem::path& file() const { return file_; }

private:
    void load();
    void save() const;

    const std::filesystem::path file_;
    mutable std::mutex mutex_;
    nlohmann::json values_ = nlohmann::json::object();
};

}  // namespace kelpa::platform
