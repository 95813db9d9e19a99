#include "server/http/HttpServer.h"

#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>

#include "server/http/HttpSession.h"

namespace kelpa::server {

namespace net = boost::asio;
namespace beast = boost::beast;
using net::ip::tcp;

HttpServer::HttpServer(net::io_context& io, HttpContext& context, const std::string& host,
                       std::uint16_t port)
    : io_(io), context_(context), acceptor_(net::make_strand(io)) {
    const tcp::endpoint endpoint(net::ip::make_address(host), port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(net::socket_base::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(net::socket_base::max_listen_connections);
    port_ = acceptor_.local_endpoint().port();
    accept();
}

void HttpServer::close() {
    net::post(acceptor_.get_executor(), [this] {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
    });
}

void HttpServer::accept() {
    acceptor_.async_accept(net::make_strand(io_), [this](boost::system::error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted || !acceptor_.is_open()) return;
        if (!ec) {
            socket.set_option(tcp::no_delay(true), ec);
            beast::tcp_stream stream(std::move(socket));
            if (context_.tls) {
                std::make_shared<TlsHttpSession>(beast::ssl_stream<beast::tcp_stream>(std::move(stream), *context_.tls),
                                                 context_)->start();
            } else {
                std::make_shared<PlainHttpSession>(std::move(stream), context_)->start();
            }
        }
        accept();
    });
}

}  // namespace kelpa::server
