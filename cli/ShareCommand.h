#pragma once

namespace CLI {
class App;
}

namespace kelpa::cli {

struct Invocation;

// share TRACK [--group ID] [--speed N] [--once | --duration D]: finds the group to share in
// (the joined one, or the given one after joining it) and runs the sharing loop over the
// track. A track that cannot be read is a usage error, found before any request.
class ShareCommand {
public:
    static void add(CLI::App& app, Invocation& chosen);
};

}  // namespace kelpa::cli
