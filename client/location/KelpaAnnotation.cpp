#include "client/location/KelpaAnnotation.h"

#include "client/model/Member.h"
#include "client/model/Waypoint.h"

namespace kelpa {

namespace {
template <class Record>
std::shared_ptr<Record> held(const std::any& object) {
    const auto* record = std::any_cast<std::shared_ptr<Record>>(&object);
    return record ? *record : nullptr;
}
}  // namespace

std::shared_ptr<Member> KelpaAnnotation::member() const { return held<Member>(object); }

std::shared_ptr<Waypoint> KelpaAnnotation::waypoint() const { return held<Waypoint>(object); }

}  // namespace kelpa
