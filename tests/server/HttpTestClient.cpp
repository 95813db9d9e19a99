#include "tests/server/HttpTestClient.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <fmt/format.h>

namespace kelpa::server::testing {

namespace beast = boost::beast;
namespace http = beast::http;
using tcp = boost::asio::ip::tcp;

nlohmann::json HttpTestClient::Response::json() const {
    return nlohmann::json::parse(body, nullptr, false);
}

HttpTestClient::HttpTestClient(std::uint16_t port, boost::asio::ssl::context* tls) : port_(port), tls_(tls) {}

std::string HttpTestClient::formEncode(const Fields& fields) {
    const auto encode = [](const std::string& s) {
        std::string out;
        for (unsigned char c : s) {
            if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~')
                out += static_cast<char>(c);
            else
                out += fmt::format("%{:02X}", c);
        }
        return out;
    };
    std::string body;
    for (const auto& [k, v] : fields) {
        if (!body.empty()) body += '&';
        body += encode(k) + "=" + encode(v);
    }
    return body;
}

HttpTestClient::Response HttpTestClient::post(const std::string& body, const std::string& contentType) {
    return request("POST", "/api/v1.1/API.php", body, {{"Content-Type", contentType}});
}

HttpTestClient::Response HttpTestClient::get(const std::string& target,
                                             const std::map<std::string, std::string>& headers) {
    return request("GET", target, {}, headers);
}

namespace {

template <class Stream>
HttpTestClient::Response exchange(Stream& stream, http::request<http::string_body>& req) {
    http::write(stream, req);
    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(64 * 1024 * 1024);
    http::read(stream, buffer, parser);
    HttpTestClient::Response out;
    out.status = static_cast<int>(parser.get().result_int());
    for (const auto& field : parser.get())
        out.headers[std::string(field.name_string())] = std::string(field.value());
    out.body = parser.get().body();
    return out;
}

}  // namespace

HttpTestClient::Response HttpTestClient::request(const std::string& method, const std::string& target,
                                                 const std::string& body,
                                                 const std::map<std::string, std::string>& headers) {
    boost::asio::io_context io;
    beast::tcp_stream stream(io);
    stream.expires_after(std::chrono::seconds(60));
    if (!localAddress_.empty()) {
        stream.socket().open(tcp::v4());
        stream.socket().bind(tcp::endpoint(boost::asio::ip::make_address(localAddress_), 0));
    }
    stream.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port_));
    http::request<http::string_body> req{http::string_to_verb(method), target, 11};
    req.set(http::field::host, "127.0.0.1");
    for (const auto& [k, v] : headers) req.set(k, v);
    req.body() = body;
    req.prepare_payload();
    beast::error_code ignored;
    if (tls_) {
        beast::ssl_stream<beast::tcp_stream> secure(std::move(stream), *tls_);
        secure.handshake(boost::asio::ssl::stream_base::client);
        auto out = exchange(secure, req);
        secure.shutdown(ignored);
        return out;
    }
    auto out = exchange(stream, req);
    stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
    return out;
}

}  // namespace kelpa::server::testing
