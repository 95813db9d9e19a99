#pragma once

#include "client/model/Handlers.h"
#include "client/service/API.h"
#include "client/service/Reply.h"

#include <functional>
#include <optional>
#include <string>

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
        RecordList<T> result;
        result.reserve(list->size());
        for (const auto& element : *list) result.push_back(T::initWithJSON(element));
        return result;
    }
};

}  // namespace kelpa
