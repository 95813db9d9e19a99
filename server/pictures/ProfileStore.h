#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelpa::server {

// Profile pictures as files <userID>.jpg in one directory, written atomically (temporary
// file, fsync, rename) so that a crash leaves the old picture or the new one.
class ProfileStore {
public:
    struct Picture {
        std::string jpeg;
        std::string etag;  // quoted, as sent in the ETag header
    };

    explicit ProfileStore(std::string directory);

    std::optional<Picture> get(std::int64_t user) const;
    bool put(std::int64_t user, const std::string& jpeg) const;
    bool remove(std::int64_t user) const;

private:
    std::string path(std::int64_t user) const;
    std::string directory_;
};

}  // namespace kelpa::server
