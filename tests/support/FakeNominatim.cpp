#include "FakeNominatim.h"

#include "platform/FormEncoding.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace kelpa::testing {

FakeNominatim::FakeNominatim() : server_([this](const std::string& raw) { return answer(raw); }) {}

void FakeNominatim::place(const std::string& address, double latitude, double longitude) {
    std::lock_guard lock(mutex_);
    places_[address] = {latitude, longitude};
}

std::vector<std::string> FakeNominatim::queries() const {
    std::lock_guard lock(mutex_);
    return queries_;
}

LoopbackHttpServer::Reply FakeNominatim::answer(const std::string& rawRequest) {
    // "GET /search?q=<address>&format=jsonv2&limit=5 HTTP/1.1"
    const std::string line = LoopbackHttpServer::requestLine(rawRequest);
    const auto begin = line.find("/search?q=");
    if (line.rfind("GET ", 0) != 0 || begin == std::string::npos) return {404, "[]"};
    const auto from = begin + std::string("/search?q=").size();
    const auto to = line.find_first_of("& ", from);
    const std::string address = platform::FormEncoding::percentDecode(line.substr(from, to - from));
    std::lock_guard lock(mutex_);
    queries_.push_back(address);
    auto found = places_.find(address);
    if (found == places_.end()) return {200, "[]"};
    nlohmann::json places = nlohmann::json::array();
    // Nominatim writes coordinates as decimal texts.
    places.push_back({{"place_id", places_.size()},
                      {"lat", fmt::format("{:.7f}", found->second.first)},
                      {"lon", fmt::format("{:.7f}", found->second.second)},
                      {"name", address},
                      {"display_name", address}});
    return {200, places.dump()};
}

}  // namespace kelpa::testing
