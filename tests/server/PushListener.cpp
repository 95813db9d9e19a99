#include "tests/server/PushListener.h"

#include <optional>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>

namespace kelpa::server::testing {

namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;

struct PushListener::Connection {
    boost::asio::io_context io;
    std::optional<websocket::stream<beast::tcp_stream>> plain;
    std::optional<websocket::stream<beast::ssl_stream<beast::tcp_stream>>> secure;
    beast::flat_buffer buffer;

    void close() {
        beast::error_code ignored;
        if (plain) beast::get_lowest_layer(*plain).socket().close(ignored);
        if (secure) beast::get_lowest_layer(*secure).socket().close(ignored);
    }
};

PushListener::PushListener(std::uint16_t port, const std::string& deviceId, const std::string& token,
                           boost::asio::ssl::context* tls)
    : connection_(std::make_unique<Connection>()) {
    auto& c = *connection_;
    const tcp::endpoint server(boost::asio::ip::make_address("127.0.0.1"), port);
    const std::string target = "/push?deviceID=" + deviceId + "&token=" + token;
    if (tls) {
        auto& ws = c.secure.emplace(c.io, *tls);
        beast::get_lowest_layer(ws).expires_after(std::chrono::seconds(30));
        beast::get_lowest_layer(ws).connect(server);
        ws.next_layer().handshake(boost::asio::ssl::stream_base::client);
        ws.handshake("127.0.0.1", target);
        listen(ws);
    } else {
        auto& ws = c.plain.emplace(c.io);
        beast::get_lowest_layer(ws).expires_after(std::chrono::seconds(30));
        beast::get_lowest_layer(ws).connect(server);
        ws.handshake("127.0.0.1", target);
        listen(ws);
    }
}

template <class WebSocket>
void PushListener::listen(WebSocket& ws) {
    beast::get_lowest_layer(ws).expires_never();
    thread_ = std::thread([this, &ws] {
        auto& c = *connection_;
        std::function<void()> read = [this, &c, &ws, &read] {
            ws.async_read(c.buffer, [this, &c, &read](beast::error_code ec, std::size_t) {
                if (ec) return;
                auto push = nlohmann::json::parse(beast::buffers_to_string(c.buffer.data()), nullptr, false);
                c.buffer.consume(c.buffer.size());
                {
                    std::lock_guard lock(mutex_);
                    pushes_.push_back(std::move(push));
                }
                arrived_.notify_all();
                read();
            });
        };
        read();
        c.io.run();
    });
}

PushListener::~PushListener() {
    boost::asio::post(connection_->io, [this] { connection_->close(); });
    thread_.join();
}

bool PushListener::waitFor(const std::function<bool(const nlohmann::json&)>& match,
                           std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] {
        for (const auto& p : pushes_)
            if (match(p)) return true;
        return false;
    });
}

std::vector<nlohmann::json> PushListener::received() const {
    std::lock_guard lock(mutex_);
    return pushes_;
}

}  // namespace kelpa::server::testing
