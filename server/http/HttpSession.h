#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <nlohmann/json.hpp>

#include "server/http/HttpContext.h"

namespace kelpa::server {

// One HTTP connection: reads a request within the size limits, routes it (the API
// endpoint, profile pictures, the push upgrade) and writes the reply; keep-alive aware.
// Stream is a plain TCP stream or a TLS stream over one (HTTPS).
template <class Stream>
class HttpSession : public std::enable_shared_from_this<HttpSession<Stream>> {
public:
    static constexpr std::size_t kFormLimit = 256 * 1024;
    static constexpr std::size_t kUploadLimit = 6 * 1024 * 1024;

    HttpSession(Stream stream, HttpContext& context);
    // TLS streams shake hands first.
    void start();

private:
    using Request = boost::beast::http::request<boost::beast::http::string_body>;
    using Response = boost::beast::http::response<boost::beast::http::string_body>;

    void readHeader();
    void onHeader(boost::beast::error_code ec);
    void onBody(boost::beast::error_code ec);
    void api(Request& request);
    void profile(Request& request);
    void push(Request& request);
    void replyJson(const nlohmann::json& body, int action);
    void send(Response response, int action = 0, int code = -1);
    void tooLarge();
    void close();
    void drain();

    static constexpr bool kTls = !std::is_same_v<Stream, boost::beast::tcp_stream>;
    boost::beast::tcp_stream& lowest() { return boost::beast::get_lowest_layer(stream_); }
    using std::enable_shared_from_this<HttpSession<Stream>>::shared_from_this;

    Stream stream_;
    HttpContext& context_;
    boost::beast::flat_buffer buffer_;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
    std::string peer_;
    std::string address_;  // the peer without its port
    std::string method_;
    std::string path_;
    unsigned version_ = 11;
    bool keepAlive_ = true;
    std::chrono::steady_clock::time_point started_;
};

using PlainHttpSession = HttpSession<boost::beast::tcp_stream>;
using TlsHttpSession = HttpSession<boost::beast::ssl_stream<boost::beast::tcp_stream>>;

extern template class HttpSession<boost::beast::tcp_stream>;
extern template class HttpSession<boost::beast::ssl_stream<boost::beast::tcp_stream>>;

}  // namespace kelpa::server
