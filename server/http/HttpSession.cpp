#include "server/http/HttpSession.h"

#include <array>
#include <charconv>

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/websocket/rfc6455.hpp>

#include "server/http/FormDecoder.h"
#include "server/push/PushSession.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"
#include "server/http/Request.h"

namespace kelpa::server {

namespace beast = boost::beast;
namespace http = beast::http;
using namespace std::chrono_literals;

namespace {

constexpr std::string_view kApiPath = "/api/v1.1/API.php";
constexpr std::string_view kProfilePrefix = "/Profiles/";

bool isHexText(std::string_view s, std::size_t min, std::size_t max) {
    if (s.size() < min || s.size() > max) return false;
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

template <class Stream>
HttpSession<Stream>::HttpSession(Stream stream, HttpContext& context)
    : stream_(std::move(stream)), context_(context) {
    beast::error_code ec;
    const auto endpoint = lowest().socket().remote_endpoint(ec);
    if (!ec) {
        address_ = endpoint.address().to_string();
        peer_ = address_ + ":" + std::to_string(endpoint.port());
    }
}

template <class Stream>
void HttpSession<Stream>::start() {
    boost::asio::dispatch(stream_.get_executor(), [self = shared_from_this()] {
        if constexpr (kTls) {
            self->lowest().expires_after(30s);
            self->stream_.async_handshake(boost::asio::ssl::stream_base::server, [self](beast::error_code ec) {
                if (!ec) self->readHeader();
            });
        } else {
            self->readHeader();
        }
    });
}

template <class Stream>
void HttpSession<Stream>::readHeader() {
    parser_.emplace();
    parser_->header_limit(16 * 1024);
    parser_->body_limit(kUploadLimit);
    lowest().expires_after(120s);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](beast::error_code ec, std::size_t) {
                                self->onHeader(ec);
                            });
}

template <class Stream>
void HttpSession<Stream>::onHeader(beast::error_code ec) {
    if (ec) return;  // closed, timed out or unreadable: drop the connection
    started_ = std::chrono::steady_clock::now();
    const auto& header = parser_->get();
    method_ = std::string(header.method_string());
    const std::string_view target(header.target().data(), header.target().size());
    path_ = std::string(target.substr(0, target.find('?')));
    version_ = header.version();
    keepAlive_ = header.keep_alive();
    const bool upload = header[http::field::content_type].starts_with("multipart/form-data");
    const std::size_t limit = upload ? kUploadLimit : kFormLimit;
    if (parser_->content_length() && *parser_->content_length() > limit) return tooLarge();
    parser_->body_limit(limit);
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onBody(ec); });
}

template <class Stream>
void HttpSession<Stream>::onBody(beast::error_code ec) {
    if (ec == http::error::body_limit) return tooLarge();
    if (ec) return;
    Request request = parser_->release();
    if (beast::websocket::is_upgrade(request) && path_ == "/push") return push(request);
    if (request.method() == http::verb::post && path_ == kApiPath) return api(request);
    if ((request.method() == http::verb::get || request.method() == http::verb::head) &&
        path_.starts_with(kProfilePrefix))
        return profile(request);
    Response response{http::status::not_found, version_};
    send(std::move(response));
}

template <class Stream>
void HttpSession<Stream>::tooLarge() {
    keepAlive_ = false;
    Response response{http::status::payload_too_large, version_};
    response.set(http::field::content_type, "application/json");
    response.body() = Replies::failure(1, "Request too large").dump();
    send(std::move(response), 0, 1);
}

template <class Stream>
void HttpSession<Stream>::api(Request& request) {
    const std::string contentType(request[http::field::content_type]);
    const auto form = contentType.starts_with("multipart/form-data")
                          ? FormDecoder::multipart(contentType, request.body())
                          : FormDecoder::urlEncoded(request.body());
    if (!form) return replyJson(Replies::failure(1, "Malformed request body"), 0);
    std::shared_ptr<const kelpa::server::Request> call;
    try {
        call = std::make_shared<const kelpa::server::Request>(form->fields, form->files, address_);
    } catch (const Refusal& r) {
        return replyJson(Replies::failure(r.code(), r.what()), 0);
    }
    const int action = call->action();
    ++context_.inFlight;
    lowest().expires_never();
    context_.runner.start(std::move(call), [self = shared_from_this(), action](nlohmann::json reply) {
        boost::asio::post(self->stream_.get_executor(), [self, action, reply = std::move(reply)] {
            self->replyJson(reply, action);
            --self->context_.inFlight;
        });
    });
}

template <class Stream>
void HttpSession<Stream>::replyJson(const nlohmann::json& body, int action) {
    Response response{http::status::ok, version_};
    response.set(http::field::content_type, "application/json; charset=utf-8");
    response.body() = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    int code = -1;
    if (body.is_object() && body.contains("code") && body["code"].is_number_integer())
        code = body["code"].get<int>();
    send(std::move(response), action, code);
}

template <class Stream>
void HttpSession<Stream>::profile(Request& request) {
    const std::string idText = path_.substr(kProfilePrefix.size());
    std::int64_t user = 0;
    const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), user);
    if (idText.empty() || idText.size() > 18 || ec != std::errc() ||
        end != idText.data() + idText.size() || user <= 0) {
        send(Response{http::status::not_found, version_});
        return;
    }
    const std::string ifNoneMatch(request[http::field::if_none_match]);
    const bool head = request.method() == http::verb::head;
    // File reads go to the side pool: the I/O threads only move bytes.
    boost::asio::post(context_.side, [self = shared_from_this(), user, ifNoneMatch, head] {
        auto picture = self->context_.services.profiles.get(user);
        boost::asio::post(self->stream_.get_executor(), [self, picture = std::move(picture), ifNoneMatch, head] {
            if (!picture) return self->send(Response{http::status::not_found, self->version_});
            if (ifNoneMatch == picture->etag) {
                Response response{http::status::not_modified, self->version_};
                response.set(http::field::etag, picture->etag);
                return self->send(std::move(response));
            }
            Response response{http::status::ok, self->version_};
            response.set(http::field::content_type, "image/jpeg");
            response.set(http::field::etag, picture->etag);
            response.set(http::field::cache_control, "no-cache");
            if (!head) response.body() = std::move(picture->jpeg);
            self->send(std::move(response));
        });
    });
}

template <class Stream>
void HttpSession<Stream>::push(Request& request) {
    // The device proves itself with its installation identifier and the push token it
    // registered for that installation: /push?deviceID=...&token=...
    std::string deviceId, token;
    const std::string_view target(request.target().data(), request.target().size());
    if (const auto q = target.find('?'); q != std::string_view::npos) {
        if (auto query = FormDecoder::urlEncoded(target.substr(q + 1))) {
            deviceId = query->fields["deviceID"];
            token = query->fields["token"];
        }
    }
    for (char& c : deviceId) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : token) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto upgrade = std::make_shared<Request>(std::move(request));
    const auto refuse = [](const std::shared_ptr<HttpSession>& self) {
        self->keepAlive_ = false;
        self->send(Response{http::status::unauthorized, self->version_});
    };
    if (!isHexText(deviceId, 32, 32) || !isHexText(token, 1, 256)) return refuse(shared_from_this());
    auto key = context_.services.deviceKeys.keyFor(deviceId);
    auto device = std::make_shared<std::optional<std::int64_t>>();
    context_.worker.submit({
        [key, token, device](Store& store) {
            const auto id = store.deviceByKey(key);
            if (id && store.pushToken(*id) == token) *device = id;
        },
        [self = shared_from_this(), device, upgrade, refuse](std::exception_ptr, bool) {
            boost::asio::post(self->stream_.get_executor(), [self, device, upgrade, refuse] {
                if (!*device) return refuse(self);
                auto session = std::make_shared<PushSession<Stream>>(std::move(self->stream_), self->context_.hub, **device);
                session->start(std::move(*upgrade));
            });
        },
    });
}

template <class Stream>
void HttpSession<Stream>::send(Response response, int action, int code) {
    response.keep_alive(keepAlive_);
    response.prepare_payload();
    auto held = std::make_shared<Response>(std::move(response));
    lowest().expires_after(30s);
    http::async_write(stream_, *held, [self = shared_from_this(), held, action, code](beast::error_code ec, std::size_t) {
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - self->started_).count();
        self->context_.log.write({self->peer_, self->method_, self->path_, action, static_cast<int>(held->result_int()), code, micros});
        if (ec) return;
        if (!held->keep_alive()) return self->close();
        self->readHeader();
    });
}

template <class Stream>
void HttpSession<Stream>::close() {
    if constexpr (kTls) {
        lowest().expires_after(5s);
        stream_.async_shutdown([self = shared_from_this()](beast::error_code) {
            beast::error_code ignored;
            self->lowest().socket().close(ignored);
        });
    } else {
        beast::error_code ignored;
        lowest().socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
        drain();
    }
}

template <class Stream>
void HttpSession<Stream>::drain() {
    // Read what the peer still sends (say, the rest of an oversized body) until it closes,
    // so that closing does not reset the connection before the reply is read.
    lowest().expires_after(5s);
    auto scratch = std::make_shared<std::array<char, 16384>>();
    stream_.async_read_some(boost::asio::buffer(*scratch),
                            [self = shared_from_this(), scratch](beast::error_code ec, std::size_t) {
                                if (!ec) self->drain();
                            });
}

template class HttpSession<beast::tcp_stream>;
template class HttpSession<beast::ssl_stream<beast::tcp_stream>>;

}  // namespace kelpa::server
