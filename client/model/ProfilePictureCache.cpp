#include "client/model/ProfilePictureCache.h"

#include "platform/Environment.h"

namespace kelpa {

ProfilePictureCache& ProfilePictureCache::current() {
    return platform::Environment::current()->local<ProfilePictureCache>();
}

std::optional<ProfilePictureCache::Entry> ProfilePictureCache::find(const std::string& address) const {
    auto found = entries_.find(address);
    if (found == entries_.end()) return std::nullopt;
    return found->second;
}

void ProfilePictureCache::keep(const std::string& address, std::string etag, ImagePtr image) {
    entries_[address] = Entry{std::move(etag), std::move(image)};
}

void ProfilePictureCache::forget(const std::string& address) { entries_.erase(address); }

}  // namespace kelpa
