#pragma once

#include "client/service/Action.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kelpa {

using ParameterValue = std::variant<std::string, std::int32_t, double>;

// The parameter map of one request: the action code first, then the operation's fields in
// the order they were added. The transport appends "userID" and "deviceID" itself.
class Parameters {
public:
    using Entry = std::pair<std::string, ParameterValue>;

    explicit Parameters(Action action);

    Parameters& add(std::string key, ParameterValue value);

    Action action() const { return action_; }
    const std::vector<Entry>& entries() const { return entries_; }

    // A value as it goes on the wire: text unchanged, integers in decimal, doubles in the
    // shortest text that reads back to the same number.
    static std::string text(const ParameterValue& value);

private:
    Action action_;
    std::vector<Entry> entries_;
};

}  // namespace kelpa
