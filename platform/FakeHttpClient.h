#pragma once

#include "platform/FormEncoding.h"
#include "platform/HttpClient.h"

#include <nlohmann/json.hpp>

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace kelpa::platform {

// An in-memory transport for tests: records every request and answers from a script.
// Replies queued for an action code are used first, then the general queue, then the
// responder function; with none of them the exchange fails (no reply).
class FakeHttpClient : public HttpClient {
public:
    using Responder = std::function<std::optional<HttpResponse>(const HttpRequest&)>;

    std::optional<HttpResponse> send(const HttpRequest& request) override;

    void queue(std::optional<HttpResponse> response);
    void queueJSON(const nlohmann::json& body);
    void queueForAction(int action, std::optional<HttpResponse> response);
    void queueJSONForAction(int action, const nlohmann::json& body);
    void setResponder(Responder responder);

    std::vector<HttpRequest> requests() const;
    // Form fields of every recorded form request, in order.
    std::vector<FormEncoding::Fields> forms() const;
    // The form requests that carried the given action.
    std::vector<FormEncoding::Fields> formsForAction(int action) const;
    size_t count() const;

    static std::optional<std::string> field(const FormEncoding::Fields& fields, const std::string& key);
    static HttpResponse json(const nlohmann::json& body, long status = 200);

private:
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
    std::deque<std::optional<HttpResponse>> queued_;
    std::map<int, std::deque<std::optional<HttpResponse>>> byAction_;
    Responder responder_;
};

}  // namespace kelpa::platform
