#pragma once

namespace kelpa::platform::ui {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

// A view's place in its parent, in points.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Rect&) const = default;
};

// Components from 0 to 1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool operator==(const Color&) const = default;
};

// The only transforms screens use: scaling, such as (1, -1) to turn a table upside down.
struct Transform {
    double scaleX = 1;
    double scaleY = 1;
    bool operator==(const Transform&) const = default;
    static Transform identity() { return {}; }
};

}  // namespace kelpa::platform::ui
