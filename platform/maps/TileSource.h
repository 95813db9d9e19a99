#pragma once

#include "platform/HttpClient.h"
#include "platform/location/ServiceUserAgent.h"

#include <string>
#include <vector>

namespace kelpa::platform {

// Where map tiles come from: a URL template with {z}, {x}, {y} and optionally {s} (one of
// the subdomains, the same for a tile every time, so caches keep working), the attribution
// the map must show, and how requests introduce themselves.
class TileSource {
public:
    static constexpr const char* kDefaultURLTemplate = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
    static constexpr const char* kDefaultAttribution = "© OpenStreetMap contributors";

    explicit TileSource(std::string urlTemplate = kDefaultURLTemplate, std::string attribution = kDefaultAttribution,
                        std::vector<std::string> subdomains = {"a", "b", "c"},
                        std::string userAgent = kServiceUserAgent);

    const std::string& urlTemplate() const { return urlTemplate_; }
    const std::string& attribution() const { return attribution_; }
    const std::string& userAgent() const { return userAgent_; }
    const std::vector<std::string>& subdomains() const { return subdomains_; }

    std::string urlForTile(int z, int x, int y) const;
    // The GET request for a tile, with the User-Agent.
    HttpRequest requestForTile(int z, int x, int y) const;

private:
    std::string urlTemplate_;
    std::string attribution_;
    std::vector<std::string> subdomains_;
    std::string userAgent_;
};

}  // namespace kelpa::platform
