#include "platform/push/WebSocketPushService.h"

#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/Preferences.h"
#include "platform/push/PushEndpoint.h"
#include "platform/push/PushToken.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/host_name_verification.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

namespace kelpa::platform {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

// Threads: `receiver` and the two address functions belong to the main queue; everything
// from `io` down belongs to the stream's thread, which never owns the Impl (so the Impl is
// never destroyed, and its thread never joined, from that thread).
struct WebSocketPushService::Impl : std::enable_shared_from_this<Impl> {
    using PlainStream = websocket::stream<beast::tcp_stream>;
    using SecureStream = websocket::stream<beast::ssl_stream<beast::tcp_stream>>;

    Impl(std::function<std::string()> baseURL, std::function<std::string()> device,
         std::shared_ptr<Preferences> prefs, Options opts)
        : mainQueue(Environment::current()->mainQueue),
          serviceBaseURL(std::move(baseURL)),
          deviceID(std::move(device)),
          preferences(std::move(prefs)),
          options(std::move(opts)),
          backoff(options.initialBackoff) {}

    ~Impl() { shutdown(); }

    // --- any thread ---------------------------------------------------------------------

    void logLine(std::string line) {
        mainQueue->post([line = std::move(line)] { log(line); });
    }

    void start(std::string token) {
        std::lock_guard lock(threadMutex);
        if (stopped || thread.joinable()) return;
        tokenHex = std::move(token);
        self = weak_from_this();
        setUpTls();
        asio::post(io, [this] { fetchAddress(); });
        thread = std::thread([this] { io.run(); });
    }

    void shutdown() {
        std::thread running;
        {
            std::lock_guard lock(threadMutex);
            stopped = true;
            running = std::move(thread);
        }
        // Handlers still queued are dropped with the context; none of them runs again.
        io.stop();
        if (running.joinable()) running.join();
    }

    // Before the thread starts.
    void setUpTls() {
        beast::error_code ec;
        tls.set_default_verify_paths(ec);
        if (ec) logLine(fmt::format("push: cannot load the system's certificate authorities: {}", ec.message()));
        if (!options.extraCAFile.empty()) {
            tls.load_verify_file(options.extraCAFile.string(), ec);
            if (ec)
                logLine(fmt::format("push: cannot load certificate authority {}: {}",
                                    options.extraCAFile.string(), ec.message()));
        }
        tls.set_verify_mode(asio::ssl::verify_peer);
    }

    // --- the stream's thread ------------------------------------------------------------

    // The address functions read main-queue state, so each attempt asks the main queue.
    void fetchAddress() {
        mainQueue->post([weak = self] {
            auto me = weak.lock();
            if (!me) return;
            std::string url = me->serviceBaseURL ? me->serviceBaseURL() : std::string();
            std::string device = me->deviceID ? me->deviceID() : std::string();
            asio::post(me->io, [raw = me.get(), url = std::move(url), device = std::move(device)] {
                raw->connect(url, device);
            });
        });
    }

    void connect(const std::string& url, const std::string& device) {
        auto parsed = PushEndpoint::fromServiceURL(url);
        if (!parsed) return retry(fmt::format("push: cannot use the service address \"{}\"", url));
        endpoint = std::move(*parsed);
        plain.reset();
        secure.reset();
        const std::string target = endpoint.target(device, tokenHex);
        resolver.async_resolve(endpoint.host, endpoint.port,
                               [this, target](beast::error_code ec, tcp::resolver::results_type results) {
                                   if (ec) return retry(failure("cannot resolve " + endpoint.host, ec));
                                   if (endpoint.secure)
                                       open(secure.emplace(io, tls), results, target);
                                   else
                                       open(plain.emplace(io), results, target);
                               });
    }

    template <class Stream>
    void open(Stream& ws, const tcp::resolver::results_type& results, const std::string& target) {
        beast::get_lowest_layer(ws).expires_after(kHandshakeTimeout);
        beast::get_lowest_layer(ws).async_connect(
            results, [this, &ws, target](beast::error_code ec, const tcp::endpoint&) {
                if (ec) return retry(failure("cannot connect to " + endpoint.displayURL(), ec));
                if constexpr (std::is_same_v<Stream, SecureStream>) {
                    auto& ssl = ws.next_layer();
                    // Name indication only for host names; an address literal has none.
                    beast::error_code notAnAddress;
                    asio::ip::make_address(endpoint.host, notAnAddress);
                    if (notAnAddress) SSL_set_tlsext_host_name(ssl.native_handle(), endpoint.host.c_str());
                    ssl.set_verify_callback(asio::ssl::host_name_verification(endpoint.host));
                    ssl.async_handshake(asio::ssl::stream_base::client, [this, &ws, target](beast::error_code ec) {
                        if (ec) return retry(failure("TLS with " + endpoint.displayURL() + " failed", ec));
                        upgrade(ws, target);
                    });
                } else {
                    upgrade(ws, target);
                }
            });
    }

    template <class Stream>
    void upgrade(Stream& ws, const std::string& target) {
        // Pushes are a few bytes; anything near this size is not from the service.
        ws.read_message_max(kMaxFrame);
        ws.set_option(websocket::stream_base::decorator([](websocket::request_type& request) {
            request.set(beast::http::field::user_agent, "Kelpa");
        }));
        upgradeResponse = {};
        ws.async_handshake(upgradeResponse, endpoint.hostHeader(), target, [this, &ws](beast::error_code ec) {
            if (ec == websocket::error::upgrade_declined && upgradeResponse.result_int() == 401)
                return retry(fmt::format("push: {} does not know this device's token yet (HTTP 401)",
                                         endpoint.displayURL()));
            if (ec == websocket::error::upgrade_declined)
                return retry(fmt::format("push: {} refused the connection (HTTP {})", endpoint.displayURL(),
                                         upgradeResponse.result_int()));
            if (ec) return retry(failure("cannot open " + endpoint.displayURL(), ec));
            beast::get_lowest_layer(ws).expires_never();
            // The service pings idle streams; our own pings find a peer that vanished.
            websocket::stream_base::timeout timeouts{kHandshakeTimeout, kIdleTimeout, true};
            ws.set_option(timeouts);
            backoff = options.initialBackoff;
            logLine("push: connected to " + endpoint.displayURL());
            read(ws);
        });
    }

    template <class Stream>
    void read(Stream& ws) {
        ws.async_read(buffer, [this, &ws](beast::error_code ec, std::size_t) {
            if (ec) return retry(failure("lost the connection to " + endpoint.displayURL(), ec));
            const std::string text = beast::buffers_to_string(buffer.data());
            buffer.consume(buffer.size());
            deliver(text);
            read(ws);
        });
    }

    void deliver(const std::string& text) {
        auto payload = nlohmann::json::parse(text, nullptr, false);
        if (!payload.is_object()) return logLine("push: ignored a frame that is no JSON object");
        mainQueue->post([weak = self, payload = std::move(payload)] {
            auto me = weak.lock();
            if (!me) return;
            if (auto receiver = me->receiver.lock()) receiver->didReceiveRemoteNotification(payload);
        });
    }

    static std::string failure(const std::string& what, const beast::error_code& ec) {
        return fmt::format("push: {}: {}", what, ec.message());
    }

    void retry(const std::string& reason) {
        beast::error_code ignored;
        if (plain) beast::get_lowest_layer(*plain).socket().close(ignored);
        if (secure) beast::get_lowest_layer(*secure).socket().close(ignored);
        logLine(fmt::format("{}; retrying in {} ms", reason, backoff.count()));
        retryTimer.expires_after(backoff);
        backoff = std::min(backoff * 2, std::max(options.maximumBackoff, options.initialBackoff));
        retryTimer.async_wait([this](beast::error_code ec) {
            if (!ec) fetchAddress();
        });
    }

    static constexpr std::chrono::seconds kHandshakeTimeout{30};
    static constexpr std::chrono::seconds kIdleTimeout{90};
    static constexpr std::size_t kMaxFrame = 64 * 1024;

    const std::shared_ptr<MainQueue> mainQueue;
    const std::function<std::string()> serviceBaseURL;
    const std::function<std::string()> deviceID;
    const std::shared_ptr<Preferences> preferences;
    const Options options;

    std::weak_ptr<PushReceiver> receiver;  // main queue

    std::mutex threadMutex;
    bool stopped = false;
    std::thread thread;
    std::weak_ptr<Impl> self;  // set before the thread starts
    std::string tokenHex;      // likewise

    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    asio::ssl::context tls{asio::ssl::context::tls_client};
    tcp::resolver resolver{io};
    asio::steady_timer retryTimer{io};
    PushEndpoint endpoint;
    std::chrono::milliseconds backoff;
    std::optional<PlainStream> plain;
    std::optional<SecureStream> secure;
    websocket::response_type upgradeResponse;
    beast::flat_buffer buffer;
};

WebSocketPushService::WebSocketPushService(std::function<std::string()> serviceBaseURL,
                                           std::function<std::string()> deviceID,
                                           std::shared_ptr<Preferences> preferences, Options options)
    : impl_(std::make_shared<Impl>(std::move(serviceBaseURL), std::move(deviceID), std::move(preferences),
                                   std::move(options))) {}

WebSocketPushService::WebSocketPushService(std::function<std::string()> serviceBaseURL,
                                           std::function<std::string()> deviceID,
                                           std::shared_ptr<Preferences> preferences)
    : WebSocketPushService(std::move(serviceBaseURL), std::move(deviceID), std::move(preferences), Options{}) {}

WebSocketPushService::~WebSocketPushService() { impl_->shutdown(); }

void WebSocketPushService::registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) {
    std::optional<std::string> token;
    if (impl_->preferences) token = PushToken::installationToken(*impl_->preferences);
    impl_->mainQueue->post([weak = std::weak_ptr<Impl>(impl_), receiver = std::move(receiver), token] {
        auto me = weak.lock();
        if (!me) return;
        me->receiver = receiver;
        auto r = receiver.lock();
        if (!token) {
            if (r) r->didFailToRegisterForRemoteNotificationsWithError("cannot make a push token");
            return;
        }
        if (r) r->didRegisterForRemoteNotificationsWithDeviceToken(*token);
        me->start(PushToken::hex(*token));
    });
}

}  // namespace kelpa::platform
