#include "platform/FakeHttpClient.h"

namespace kelpa::platform {

namespace {
std::optional<int> actionOf(const HttpRequest& request) {
    for (const auto& [key, value] : FormEncoding::decode(request.body)) {
        if (key != "action") continue;
        try {
            return std::stoi(value);
        } catch (...) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}
}  // namespace

std::optional<HttpResponse> FakeHttpClient::send(const HttpRequest& request) {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (auto action = actionOf(request)) {
            auto it = byAction_.find(*action);
            if (it != byAction_.end() && !it->second.empty()) {
                auto response = std::move(it->second.front());
                it->second.pop_front();
                return response;
            }
        }
        if (!queued_.empty()) {
            auto response = std::move(queued_.front());
            queued_.pop_front();
            return response;
        }
        responder = responder_;
    }
    if (responder) return responder(request);
    return std::nullopt;
}

void FakeHttpClient::queue(std::optional<HttpResponse> response) {
    std::lock_guard lock(mutex_);
    queued_.push_back(std::move(response));
}

void FakeHttpClient::queueJSON(const nlohmann::json& body) { queue(json(body)); }

void FakeHttpClient::queueForAction(int action, std::optional<HttpResponse> response) {
    std::lock_guard lock(mutex_);
    byAction_[action].push_back(std::move(response));
}

void FakeHttpClient::queueJSONForAction(int action, const nlohmann::json& body) {
    queueForAction(action, json(body));
}

void FakeHttpClient::setResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<HttpRequest> FakeHttpClient::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<FormEncoding::Fields> FakeHttpClient::forms() const {
    std::vector<FormEncoding::Fields> result;
    for (const auto& request : requests()) {
        if (request.method == "POST" && request.body.find("Content-Disposition") == std::string::npos) {
            result.push_back(FormEncoding::decode(request.body));
        }
    }
    return result;
}

std::vector<FormEncoding::Fields> FakeHttpClient::formsForAction(int action) const {
    std::vector<FormEncoding::Fields> result;
    for (auto& form : forms()) {
        if (field(form, "action") == std::to_string(action)) result.push_back(std::move(form));
    }
    return result;
}

size_t FakeHttpClient::count() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

std::optional<std::string> FakeHttpClient::field(const FormEncoding::Fields& fields, const std::string& key) {
    for (const auto& [k, v] : fields) {
        if (k == key) return v;
    }
    return std::nullopt;
}

HttpResponse FakeHttpClient::json(const nlohmann::json& body, long status) {
    return HttpResponse{status, body.dump()};
}

}  // namespace kelpa::platform
