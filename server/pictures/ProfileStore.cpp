#include "server/pictures/ProfileStore.h"

#include <fcntl.h>
#include <openssl/sha.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fmt/format.h>

namespace kelpa::server {

ProfileStore::ProfileStore(std::string directory) : directory_(std::move(directory)) {
    std::filesystem::create_directories(directory_);
}

std::string ProfileStore::path(std::int64_t user) const {
    return fmt::format("{}/{}.jpg", directory_, user);
}

std::optional<ProfileStore::Picture> ProfileStore::get(std::int64_t user) const {
    std::ifstream in(path(user), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    Picture picture{content.str(), {}};
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(picture.jpeg.data()), picture.jpeg.size(), digest);
    picture.etag = "\"";
    for (int i = 0; i < 16; ++i) picture.etag += fmt::format("{:02x}", digest[i]);
    picture.etag += "\"";
    return picture;
}

bool ProfileStore::put(std::int64_t user, const std::string& jpeg) const {
    const std::string target = path(user);
    const std::string temporary = fmt::format("{}.{}.tmp", target, ::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, jpeg.data(), jpeg.size()) == static_cast<ssize_t>(jpeg.size());
    ok = ::fsync(fd) == 0 && ok;
    ::close(fd);
    if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    if (const int dir = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool ProfileStore::remove(std::int64_t user) const {
    std::error_code error;
    std::filesystem::remove(path(user), error);
    return !error;
}

}  // namespace kelpa::server
