#include "platform/maps/TileSource.h"

#include <cstdlib>

namespace kelpa::platform {

TileSource::TileSource(std::string urlTemplate, std::string attribution, std::vector<std::string> subdomains,
                       std::string userAgent)
    : urlTemplate_(std::move(urlTemplate)),
      attribution_(std::move(attribution)),
      subdomains_(std::move(subdomains)),
      userAgent_(std::move(userAgent)) {}

std::string TileSource::urlForTile(int z, int x, int y) const {
    std::string url;
    url.reserve(urlTemplate_.size() + 16);
    for (size_t i = 0; i < urlTemplate_.size();) {
        const auto close = urlTemplate_[i] == '{' ? urlTemplate_.find('}', i) : std::string::npos;
        if (close == std::string::npos) {
            url += urlTemplate_[i++];
            continue;
        }
        const auto name = urlTemplate_.substr(i + 1, close - i - 1);
        if (name == "z") url += std::to_string(z);
        else if (name == "x") url += std::to_string(x);
        else if (name == "y") url += std::to_string(y);
        else if (name == "s" && !subdomains_.empty()) {
            url += subdomains_[static_cast<size_t>(std::llabs(static_cast<long long>(x) + y)) % subdomains_.size()];
        } else {
            url += urlTemplate_.substr(i, close - i + 1);  // not ours: left as written
        }
        i = close + 1;
    }
    return url;
}

HttpRequest TileSource::requestForTile(int z, int x, int y) const {
    HttpRequest request;
    request.method = "GET";
    request.url = urlForTile(z, x, y);
    request.headers = {{"User-Agent", userAgent_}};
    request.handleCookies = false;
    return request;
}

}  // namespace kelpa::platform
