#pragma once

#include <functional>
#include <optional>

#include <nlohmann/json.hpp>

namespace kelpa::server {

class ActionContext;

// One stage of an action. Database stages run on the DB worker inside a transaction that
// commits before the next stage starts; offloaded stages (password hashing, image coding,
// the SMS gateway) run on the side pool so they never hold up a group commit. The chain
// ends with a reply.
class Step {
public:
    using DbStage = std::function<Step(ActionContext&)>;
    using Offloaded = std::function<Step()>;

    static Step reply(nlohmann::json body);
    static Step inDb(DbStage stage);
    static Step offload(Offloaded stage);

    const std::optional<nlohmann::json>& replyBody() const { return reply_; }
    const DbStage& dbStage() const { return db_; }
    const Offloaded& offloaded() const { return offload_; }

private:
    std::optional<nlohmann::json> reply_;
    DbStage db_;
    Offloaded offload_;
};

}  // namespace kelpa::server
