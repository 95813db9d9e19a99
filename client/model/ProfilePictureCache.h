#pragma once

#include "client/model/Handlers.h"

#include <map>
#include <optional>
#include <string>

namespace kelpa {

// The profile pictures fetched from the service, each with the ETag it came with, so the
// next fetch of the same picture can ask whether it changed and take the kept copy when it
// did not. Per environment; main queue only.
class ProfilePictureCache {
public:
    struct Entry {
        std::string etag;
        ImagePtr image;
    };

    static ProfilePictureCache& current();

    std::optional<Entry> find(const std::string& address) const;
    void keep(const std::string& address, std::string etag, ImagePtr image);
    void forget(const std::string& address);

private:
    std::map<std::string, Entry> entries_;
};

}  // namespace kelpa
