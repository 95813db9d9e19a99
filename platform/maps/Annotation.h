#pragma once

#include "platform/location/LocationCoordinate2D.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace kelpa::platform {

// Something shown at a place on a map. Observers hear when it moves or is retitled, so a
// renderer can redraw its marker. Main queue only.
class Annotation {
public:
    using Observer = std::function<void()>;
    using ObserverId = std::uint64_t;

    Annotation() = default;
    virtual ~Annotation();
    Annotation(const Annotation&) = delete;
    Annotation& operator=(const Annotation&) = delete;

    virtual LocationCoordinate2D coordinate() const = 0;
    virtual std::optional<std::string> title() const;
    virtual std::optional<std::string> subtitle() const;

    ObserverId observe(Observer observer);
    void unobserve(ObserverId id);

protected:
    void changed();

private:
    std::map<ObserverId, Observer> observers_;
    ObserverId nextObserver_ = 1;
};

}  // namespace kelpa::platform
