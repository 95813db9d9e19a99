#include "client/service/Parameters.h"

#include <fmt/format.h>

namespace kelpa {

Parameters::Parameters(Action action) : action_(action) {
    entries_.emplace_back("action", ActionCatalogue::code(action));
}

Parameters& Parameters::add(std::string key, ParameterValue value) {
    entries_.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string Parameters::text(const ParameterValue& value) {
    struct Visitor {
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(std::int32_t i) const { return std::to_string(i); }
        std::string operator()(double d) const { return fmt::format("{}", d); }
    };
    return std::visit(Visitor{}, value);
}

}  // namespace kelpa
