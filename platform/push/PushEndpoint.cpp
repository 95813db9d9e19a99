#include "platform/push/PushEndpoint.h"

#include "platform/FormEncoding.h"

#include <algorithm>
#include <cctype>

namespace kelpa::platform {

namespace {
std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isPort(std::string_view text) {
    if (text.empty() || text.size() > 5) return false;
    if (!std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) return false;
    const int value = std::stoi(std::string(text));
    return value > 0 && value <= 65535;
}
}  // namespace

std::optional<PushEndpoint> PushEndpoint::fromServiceURL(std::string_view url) {
    const auto schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos) return std::nullopt;
    const std::string scheme = lower(url.substr(0, schemeEnd));
    PushEndpoint endpoint;
    if (scheme == "http" || scheme == "ws") {
        endpoint.secure = false;
    } else if (scheme == "https" || scheme == "wss") {
        endpoint.secure = true;
    } else {
        return std::nullopt;
    }
    std::string_view rest = url.substr(schemeEnd + 3);
    // A query or fragment on a base address means nothing for the stream.
    rest = rest.substr(0, std::min(rest.find('?'), rest.find('#')));
    const auto slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    if (authority.find('@') != std::string_view::npos) return std::nullopt;

    std::string_view portText;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        endpoint.host = std::string(authority.substr(1, close - 1));
        const auto after = authority.substr(close + 1);
        if (!after.empty()) {
            if (!after.starts_with(':')) return std::nullopt;
            portText = after.substr(1);
            if (!isPort(portText)) return std::nullopt;
        }
    } else {
        const auto colon = authority.find(':');
        endpoint.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) {
            portText = authority.substr(colon + 1);
            if (!isPort(portText)) return std::nullopt;
        }
    }
    if (endpoint.host.empty()) return std::nullopt;
    endpoint.port = portText.empty() ? (endpoint.secure ? "443" : "80") : std::string(portText);
    while (path.ends_with('/')) path.remove_suffix(1);
    endpoint.basePath = std::string(path);
    return endpoint;
}

std::string PushEndpoint::target(const std::string& deviceID, const std::string& tokenHex) const {
    return basePath + "/push?deviceID=" + FormEncoding::percentEncode(deviceID) +
           "&token=" + FormEncoding::percentEncode(tokenHex);
}

std::string PushEndpoint::hostHeader() const {
    const bool ipv6 = host.find(':') != std::string::npos;
    const std::string name = ipv6 ? "[" + host + "]" : host;
    const bool defaultPort = port == (secure ? "443" : "80");
    return defaultPort ? name : name + ":" + port;
}

std::string PushEndpoint::displayURL() const {
    return (secure ? "wss://" : "ws://") + hostHeader() + basePath + "/push";
}

}  // namespace kelpa::platform
