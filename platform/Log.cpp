#include "platform/Log.h"

#include "platform/Environment.h"

namespace kelpa::platform {

void log(std::string_view line) {
    auto env = Environment::current();
    if (env->logSink) env->logSink(line);
}

}  // namespace kelpa::platform
