#include "server/push/PushSession.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/websocket/ssl.hpp>

namespace kelpa::server {

namespace beast = boost::beast;
namespace websocket = beast::websocket;

template <class Stream>
PushSession<Stream>::PushSession(Stream stream, PushHub& hub, std::int64_t device)
    : ws_(std::move(stream)), hub_(hub), device_(device) {}

template <class Stream>
void PushSession<Stream>::start(beast::http::request<beast::http::string_body> upgrade) {
    beast::get_lowest_layer(ws_).expires_never();
    ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    ws_.read_message_max(4096);
    // Attached before the handshake ends, so that no push committed after the device saw
    // the upgrade is missed; pushes wait in the outbox until the handshake is done.
    attached_ = true;
    hub_.attach(device_, shared_from_this());
    auto request = std::make_shared<beast::http::request<beast::http::string_body>>(std::move(upgrade));
    ws_.async_accept(*request, [self = shared_from_this(), request](beast::error_code ec) {
        if (ec) return self->finish();
        self->accepted_ = true;
        if (!self->outbox_.empty()) self->writeNext();
        self->read();
    });
}

template <class Stream>
void PushSession<Stream>::read() {
    // Devices send nothing; reading keeps control frames flowing and notices the close.
    ws_.async_read(buffer_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
        if (ec) return self->finish();
        self->buffer_.consume(self->buffer_.size());
        self->read();
    });
}

template <class Stream>
void PushSession<Stream>::sendPush(std::string payload) {
    boost::asio::post(ws_.get_executor(), [self = shared_from_this(), payload = std::move(payload)]() mutable {
        if (!self->attached_) return;
        self->outbox_.push_back(std::move(payload));
        if (self->accepted_ && self->outbox_.size() == 1) self->writeNext();
    });
}

template <class Stream>
void PushSession<Stream>::writeNext() {
    ws_.text(true);
    ws_.async_write(boost::asio::buffer(outbox_.front()),
                    [self = shared_from_this()](beast::error_code ec, std::size_t) {
                        if (ec) return self->finish();
                        self->outbox_.pop_front();
                        if (!self->outbox_.empty()) self->writeNext();
                    });
}

template <class Stream>
void PushSession<Stream>::finish() {
    if (!attached_) return;
    attached_ = false;
    hub_.detach(device_, this);
}

template class PushSession<beast::tcp_stream>;
template class PushSession<beast::ssl_stream<beast::tcp_stream>>;

}  // namespace kelpa::server
