#pragma once

namespace kelpa::platform::ui {

struct IndexPath {
    int section = 0;
    int row = 0;
    static IndexPath indexPathForRow(int row, int inSection) { return {inSection, row}; }
    bool operator==(const IndexPath&) const = default;
    auto operator<=>(const IndexPath&) const = default;
};

}  // namespace kelpa::platform::ui
