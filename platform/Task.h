#pragma once

#include <functional>

namespace kelpa::platform {

// A unit of work handed to a queue.
using Task = std::function<void()>;

}  // namespace kelpa::platform
