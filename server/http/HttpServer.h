#pragma once

#include <cstdint>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "server/http/HttpContext.h"

namespace kelpa::server {

// Accepts connections on one address and hands each to an HttpSession on its own strand.
class HttpServer {
public:
    HttpServer(boost::asio::io_context& io, HttpContext& context, const std::string& host,
               std::uint16_t port);

    std::uint16_t port() const { return port_; }
    void close();

private:
    void accept();

    boost::asio::io_context& io_;
    HttpContext& context_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::uint16_t port_ = 0;
};

}  // namespace kelpa::server
