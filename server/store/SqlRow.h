#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::server {

// One result row in text form; both engines deliver columns as text, so the store reads
// them the same way whichever engine answered.
class SqlRow {
public:
    explicit SqlRow(std::vector<std::optional<std::string>> columns);

    std::size_t size() const { return columns_.size(); }
    bool isNull(std::size_t i) const;
    const std::string& text(std::size_t i) const;
    std::int64_t integer(std::size_t i) const;
    double real(std::size_t i) const;
    std::optional<std::int64_t> optionalInteger(std::size_t i) const;
    std::optional<double> optionalReal(std::size_t i) const;

private:
    std::vector<std::optional<std::string>> columns_;
};

}  // namespace kelpa::server
