#pragma once

#include "client/model/Handlers.h"
#include "client/service/API.h"
#include "client/model/RecordMapping.h"
#include "client/service/Reply.h"
#include "platform/Async.h"

#include <functional>
#include <optional>
#include <string>
#include <type_traits>

namespace kelpa {

// What the operations of the records share around one request.
class ModelRequest {
public:
    // The signed-in user's identifier, read on the calling (main) thread before the request
    // goes to its background queue; none when nobody is signed in.
    static std::optional<std::string> currentUserID();

    // A status request sent with the signed-in user's identifier on a queue labelled `label`.
    // On the main queue: a reply with "info" (or none at all) goes to the handler unchanged;
    // otherwise `onSuccess` makes the local change first, then the handler gets (code, none).
    static void status(const char* label, Parameters parameters, std::function<void()> onSuccess,
                       StatusHandler handler);

    // Records built from a list reply (the list itself, or the list under `member`); none for
    // no reply and for any other shape, which callers report like a missing reply.
    template <class T>
    static std::optional<RecordList<T>> records(const API::Reply& reply, const char* member = nullptr) {
        const auto* list = Reply::list(reply, member);
        if (!list) return std::nullopt;
        return RecordMapping::records<T>(*list);
    }

    // A record built from a one-object reply, or why there is none: the service's "info"
    // for a refusal, "Unknown Error" for no reply or any other shape.
    template <class T>
    struct Loaded {
        std::shared_ptr<T> record;
        Info error;
    };
    template <class T>
    static Loaded<T> record(const API::Reply& reply) {
        if (const auto* object = Reply::object(reply)) return {T::initWithJSON(*object), std::nullopt};
        return {nullptr, Reply::objectError(reply)};
    }

    // The cached-list rule: a held list (even an empty one) is delivered at once on the
    // caller's thread, and with reloading off that is all. Otherwise the list is fetched; on
    // the main queue a reply replaces the cache whole (then `installed` runs) and the handler
    // gets the new list, while no reply leaves the cache alone and reports "Unknown Error".
    template <class Owner, class T>
    static void cachedList(std::shared_ptr<Owner> owner, std::optional<RecordList<T>> Owner::*cache,
                           const char* label, Parameters parameters, const char* member, bool withReloading,
                           ListHandler<T> handler,
                           std::type_identity_t<std::function<void(const RecordList<T>&)>> installed = nullptr) {
        if ((*owner).*cache) {
            if (handler) handler((*owner).*cache, std::nullopt);
            if (!withReloading) return;
        }
        platform::runInBackground(
            label,
            [parameters = std::move(parameters), userID = currentUserID(), member] {
                return records<T>(API::requestWithDictionary(parameters, userID), member);
            },
            [owner, cache, handler, installed](std::optional<RecordList<T>> loaded) {
                if (!loaded) {
                    if (handler) handler(std::nullopt, std::string(Reply::kUnknownError));
                    return;
                }
                (*owner).*cache = std::move(loaded);
                if (installed) installed(*((*owner).*cache));
                if (handler) handler((*owner).*cache, std::nullopt);
            });
    }
};

}  // namespace kelpa
