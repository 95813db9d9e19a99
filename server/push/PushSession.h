#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket.hpp>

#include "server/push/PushHub.h"
#include "server/push/PushTarget.h"

namespace kelpa::server {

// One device's push connection: a WebSocket that carries each push as one text frame.
// Entirely asynchronous, so an idle connection holds no thread; pings keep it alive.
// Stream is the connection's plain TCP or TLS stream, taken over from the HTTP session.
template <class Stream>
class PushSession : public PushTarget, public std::enable_shared_from_this<PushSession<Stream>> {
public:
    PushSession(Stream stream, PushHub& hub, std::int64_t device);

    void start(boost::beast::http::request<boost::beast::http::string_body> upgrade);
    void sendPush(std::string payload) override;

private:
    void read();
    void writeNext();
    void finish();
    using std::enable_shared_from_this<PushSession<Stream>>::shared_from_this;

    boost::beast::websocket::stream<Stream> ws_;
    PushHub& hub_;
    std::int64_t device_;
    boost::beast::flat_buffer buffer_;
    std::deque<std::string> outbox_;
    bool attached_ = false;
    bool accepted_ = false;
};

extern template class PushSession<boost::beast::tcp_stream>;
extern template class PushSession<boost::beast::ssl_stream<boost::beast::tcp_stream>>;

}  // namespace kelpa::server
