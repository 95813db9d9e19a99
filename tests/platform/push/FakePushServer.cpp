#include "FakePushServer.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <optional>

namespace kelpa::testing {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

struct FakePushServer::Io {
    asio::io_context context;
    asio::executor_work_guard<asio::io_context::executor_type> work{context.get_executor()};
    tcp::acceptor acceptor{context, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)};
};

class FakePushServer::Session : public std::enable_shared_from_this<Session> {
public:
    Session(FakePushServer& server, tcp::socket socket, Step step)
        : server_(server), stream_(std::move(socket)), step_(std::move(step)) {}

    void start() {
        if (step_.kind == Step::Kind::HangUp) {
            beast::error_code ignored;
            stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
            stream_.socket().close(ignored);
            return;
        }
        http::async_read(stream_, buffer_, request_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            if (ec) return;
            {
                std::lock_guard lock(self->server_.mutex_);
                self->server_.targets_.emplace_back(self->request_.target());
                ++self->server_.changes_;
            }
            self->server_.changed_.notify_all();
            if (self->step_.kind == Step::Kind::Refuse) return self->refuse();
            self->upgrade();
        });
    }

private:
    void refuse() {
        response_.result(static_cast<http::status>(step_.status));
        response_.version(request_.version());
        response_.keep_alive(false);
        response_.prepare_payload();
        http::async_write(stream_, response_, [self = shared_from_this()](beast::error_code, std::size_t) {
            beast::error_code ignored;
            self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        });
    }

    void upgrade() {
        ws_.emplace(std::move(stream_));
        ws_->async_accept(request_, [self = shared_from_this()](beast::error_code ec) {
            if (!ec) self->send(0);
        });
    }

    void send(std::size_t index) {
        if (index == step_.frames.size()) {
            if (step_.closeAfterFrames) {
                ws_->async_close(websocket::close_code::going_away, [self = shared_from_this()](beast::error_code) {});
                return;
            }
            return read();
        }
        ws_->text(true);
        ws_->async_write(asio::buffer(step_.frames[index]),
                         [self = shared_from_this(), index](beast::error_code ec, std::size_t) {
                             if (!ec) self->send(index + 1);
                         });
    }

    void read() {
        ws_->async_read(buffer_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
            if (ec) {
                {
                    std::lock_guard lock(self->server_.mutex_);
                    ++self->server_.closedByClient_;
                    ++self->server_.changes_;
                }
                self->server_.changed_.notify_all();
                return;
            }
            self->buffer_.consume(self->buffer_.size());
            self->read();
        });
    }

    FakePushServer& server_;
    beast::tcp_stream stream_;
    Step step_;
    beast::flat_buffer buffer_;
    http::request<http::string_body> request_;
    http::response<http::empty_body> response_;
    std::optional<websocket::stream<beast::tcp_stream>> ws_;
};

FakePushServer::Step FakePushServer::frames(std::vector<std::string> frames, bool thenClose) {
    Step step;
    step.frames = std::move(frames);
    step.closeAfterFrames = thenClose;
    return step;
}

FakePushServer::Step FakePushServer::hangUp() {
    Step step;
    step.kind = Step::Kind::HangUp;
    return step;
}

FakePushServer::Step FakePushServer::refuse(int status) {
    Step step;
    step.kind = Step::Kind::Refuse;
    step.status = status;
    return step;
}

FakePushServer::FakePushServer(std::vector<Step> script)
    : script_(std::move(script)), io_(std::make_unique<Io>()) {
    port_ = io_->acceptor.local_endpoint().port();
    accept();
    thread_ = std::thread([this] { io_->context.run(); });
}

FakePushServer::~FakePushServer() {
    io_->context.stop();
    thread_.join();
}

void FakePushServer::accept() {
    io_->acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec) return;
        Step step;
        {
            std::lock_guard lock(mutex_);
            const auto index = std::min<std::size_t>(static_cast<std::size_t>(connections_), script_.size() - 1);
            step = script_[index];
            ++connections_;
            ++changes_;
        }
        changed_.notify_all();
        std::make_shared<Session>(*this, std::move(socket), std::move(step))->start();
        accept();
    });
}

int FakePushServer::connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

std::vector<std::string> FakePushServer::targets() const {
    std::lock_guard lock(mutex_);
    return targets_;
}

int FakePushServer::closedByClient() const {
    std::lock_guard lock(mutex_);
    return closedByClient_;
}

bool FakePushServer::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    while (true) {
        const auto seen = changes_;
        lock.unlock();
        if (condition()) return true;
        lock.lock();
        if (!changed_.wait_until(lock, deadline, [&] { return changes_ != seen; })) {
            lock.unlock();
            return condition();
        }
    }
}

}  // namespace kelpa::testing
