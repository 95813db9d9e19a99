#pragma once

#include "platform/maps/PointAnnotation.h"

#include <any>
#include <memory>

namespace kelpa {

class Member;
class Waypoint;

// A pin of the live map standing for one record: a member or a waypoint. What the pin is
// follows from the record it holds.
class KelpaAnnotation : public platform::PointAnnotation {
public:
    // The record is held strongly; coordinate, title and subtitle start unset.
    template <class Record>
    static std::shared_ptr<KelpaAnnotation> initWithObject(std::shared_ptr<Record> record) {
        auto annotation = std::make_shared<KelpaAnnotation>();
        annotation->object = std::move(record);
        return annotation;
    }

    // The record as a member or a waypoint; none when it is something else.
    std::shared_ptr<Member> member() const;
    std::shared_ptr<Waypoint> waypoint() const;

    std::any object;
};

}  // namespace kelpa
