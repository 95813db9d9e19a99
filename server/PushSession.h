#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "server/PushHub.h"
#include "server/PushTarget.h"

namespace kelpa::server {

// One device's push connection: a WebSocket that carries each push as one text frame.
// Entirely asynchronous, so an idle connection holds no thread; pings keep it alive.
class PushSession : public PushTarget, public std::enable_shared_from_this<PushSession> {
public:
    PushSession(boost::beast::tcp_stream stream, PushHub& hub, std::int64_t device);

    void start(boost::beast::http::request<boost::beast::http::string_body> upgrade);
    void sendPush(std::string payload) override;

private:
    void read();
    void writeNext();
    void finish();

    boost::beast::websocket::stream<boost::beast::tcp_stream> ws_;
    PushHub& hub_;
    std::int64_t device_;
    boost::beast::flat_buffer buffer_;
    std::deque<std::string> outbox_;
    bool attached_ = false;
    bool accepted_ = false;
};

}  // namespace kelpa::server
