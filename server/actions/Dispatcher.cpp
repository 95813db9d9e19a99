#include "server/actions/Dispatcher.h"

#include "server/actions/AccountActions.h"
#include "server/actions/ContactActions.h"
#include "server/actions/GroupActions.h"
#include "server/actions/MemberActions.h"
#include "server/actions/PositionActions.h"
#include "server/actions/ProfileActions.h"
#include "server/actions/UserActions.h"

namespace kelpa::server {

const Dispatcher& Dispatcher::shared() {
    static const Dispatcher table = [] {
        Dispatcher d;
        AccountActions::install(d);
        UserActions::install(d);
        ContactActions::install(d);
        GroupActions::install(d);
        MemberActions::install(d);
        PositionActions::install(d);
        ProfileActions::install(d);
        return d;
    }();
    return table;
}

void Dispatcher::add(int action, Step::DbStage stage) { table_.emplace(action, std::move(stage)); }

const Step::DbStage* Dispatcher::find(int action) const {
    const auto it = table_.find(action);
    return it == table_.end() ? nullptr : &it->second;
}

}  // namespace kelpa::server
