#pragma once

#include <unordered_map>

#include "server/actions/Step.h"

namespace kelpa::server {

// The action table: each action code maps to the first database stage of its handler.
class Dispatcher {
public:
    static const Dispatcher& shared();

    void add(int action, Step::DbStage stage);
    const Step::DbStage* find(int action) const;
    std::size_t size() const { return table_.size(); }

private:
    std::unordered_map<int, Step::DbStage> table_;
};

}  // namespace kelpa::server
