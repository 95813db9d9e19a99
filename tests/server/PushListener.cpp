#include "tests/server/PushListener.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

namespace kelpa::server::testing {

namespace beast = boost::beast;
using tcp = boost::asio::ip::tcp;

struct PushListener::Connection {
    boost::asio::io_context io;
    beast::websocket::stream<beast::tcp_stream> ws{io};
    beast::flat_buffer buffer;
};

PushListener::PushListener(std::uint16_t port, const std::string& deviceId, const std::string& token)
    : connection_(std::make_unique<Connection>()) {
    auto& c = *connection_;
    beast::get_lowest_layer(c.ws).expires_after(std::chrono::seconds(30));
    beast::get_lowest_layer(c.ws).connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    c.ws.handshake("127.0.0.1", "/push?deviceID=" + deviceId + "&token=" + token);
    beast::get_lowest_layer(c.ws).expires_never();
    thread_ = std::thread([this] {
        auto& c = *connection_;
        std::function<void()> read = [this, &c, &read] {
            c.ws.async_read(c.buffer, [this, &c, &read](beast::error_code ec, std::size_t) {
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
    boost::asio::post(connection_->io, [this] {
        beast::error_code ignored;
        beast::get_lowest_layer(connection_->ws).socket().close(ignored);
    });
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
