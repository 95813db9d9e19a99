#include "server/actions/Step.h"

namespace kelpa::server {

Step Step::reply(nlohmann::json body) {
    Step s;
    s.reply_ = std::move(body);
    return s;
}

Step Step::inDb(DbStage stage) {
    Step s;
    s.db_ = std::move(stage);
    return s;
}

Step Step::offload(Offloaded stage) {
    Step s;
    s.offload_ = std::move(stage);
    return s;
}

}  // namespace kelpa::server
