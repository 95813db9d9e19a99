#include "server/store/SqlRow.h"

#include <stdexcept>

namespace kelpa::server {
namespace {
const std::string kEmpty;
}

SqlRow::SqlRow(std::vector<std::optional<std::string>> columns) : columns_(std::move(columns)) {}

bool SqlRow::isNull(std::size_t i) const { return !columns_.at(i).has_value(); }

const std::string& SqlRow::text(std::size_t i) const {
    const auto& c = columns_.at(i);
    return c ? *c : kEmpty;
}

std::int64_t SqlRow::integer(std::size_t i) const {
    const auto& c = columns_.at(i);
    return c ? std::stoll(*c) : 0;
}

double SqlRow::real(std::size_t i) const {
    const auto& c = columns_.at(i);
    return c ? std::stod(*c) : 0.0;
}

std::optional<std::int64_t> SqlRow::optionalInteger(std::size_t i) const {
    if (isNull(i)) return std::nullopt;
    return integer(i);
}

std::optional<double> SqlRow::optionalReal(std::size_t i) const {
    if (isNull(i)) return std::nullopt;
    return real(i);
}

}  // namespace kelpa::server
