#include "server/Server.h"

#include <algorithm>

#include <boost/asio/post.hpp>

#include "server/http/AccessLog.h"
#include "server/actions/ActionRunner.h"
#include "server/store/Database.h"
#include "server/store/DbWorker.h"
#include "server/http/HttpContext.h"
#include "server/http/HttpServer.h"
#include "server/store/Migrations.h"
#include "server/store/PostgresDatabase.h"
#include "server/push/PostgresListener.h"
#include "server/push/PushHub.h"
#include "server/Services.h"
#include "server/WallClock.h"
#include "server/store/SqlStore.h"
#include "server/http/TlsContext.h"

namespace kelpa::server {

Server::Server(Options options) : options_(std::move(options)) {}

Server::~Server() {
    stop();
    wait();
}

std::uint16_t Server::port() const { return http_ ? http_->port() : 0; }

void Server::start() {
    if (!options_.tlsCert.empty()) tls_ = TlsContext::load(options_.tlsCert, options_.tlsKey);
    auto db = Database::open(options_.database);
    Migrations::apply(*db);
    db->begin();
    // The device-key secret lives with the data, so every process of a cluster agrees on it.
    const std::string secret = SqlStore(*db).setting("device_key_secret", DeviceKeys::randomSecret());
    const std::string channel =
        SqlStore(*db).setting("push_channel", "kelpa_push_" + DeviceKeys::randomSecret().substr(0, 16));
    db->commit();
    db->flushCommitted();

    Services::Limits limits;
    limits.maxDevicesPerUser = options_.maxDevicesPerUser;
    services_.reset(new Services{
        PasswordHasher(options_.cheapPasswordHashing ? PasswordHasher::Cost::minimal()
                                                     : PasswordHasher::Cost::interactive()),
        DeviceKeys(secret),
        options_.smsWebhook.empty() ? SmsGateway::outbox(options_.smsOutbox)
                                    : SmsGateway::webhook(options_.smsWebhook),
        ProfileStore(options_.profiles),
        limits,
        options_.socialConfig.empty() ? SocialVerifiers() : SocialVerifiers::fromFile(options_.socialConfig),
    });
    hub_ = std::make_unique<PushHub>();
    log_ = std::make_unique<AccessLog>(options_.accessLog);

    const bool local = db->dialect() == "sqlite";
    if (!local) {
        static_cast<PostgresDatabase&>(*db).setChannel(channel);
        listener_ = std::make_unique<PostgresListener>(
            options_.database, channel, [hub = hub_.get()](std::string note) { hub->deliver(note); });
        listener_->waitUntilListening();
    }
    worker_ = std::make_unique<DbWorker>(std::move(db), [hub = hub_.get(), local](std::vector<std::string> notes) {
        if (local) hub->deliver(notes);
    });
    purgeTimer_ = std::make_unique<boost::asio::steady_timer>(io_);
    // Queued ahead of every request, so the first reply comes after the first purge.
    purgePositions();
    runner_ = std::make_unique<ActionRunner>(*worker_, *services_, side_);
    context_.reset(new HttpContext{*runner_, *worker_, *services_, *hub_, *log_, side_, tls_.get()});
    http_ = std::make_unique<HttpServer>(io_, *context_, options_.host, options_.port);
    stopTimer_ = std::make_unique<boost::asio::steady_timer>(io_);
    for (int i = 0; i < std::max(1, options_.ioThreads); ++i) threads_.emplace_back([this] { io_.run(); });
}

std::string Server::socialNetworks() const {
    std::string names;
    for (const int type : {0, 1}) {
        if (!services_->social.forType(type)) continue;
        if (!names.empty()) names += ", ";
        names += SocialVerifiers::networkName(type);
    }
    return names.empty() ? "off" : names;
}

void Server::stop() {
    if (stopping_.exchange(true) || !http_) return;
    http_->close();
    boost::asio::post(io_, [this] {
        purgeTimer_->cancel();
        stopWhenIdle(500);
    });
}

void Server::stopWhenIdle(int attempts) {
    // Answer what is in flight (up to about five seconds), then end the I/O threads.
    if (context_->inFlight == 0 || attempts == 0) return io_.stop();
    stopTimer_->expires_after(std::chrono::milliseconds(10));
    stopTimer_->async_wait([this, attempts](boost::system::error_code) { stopWhenIdle(attempts - 1); });
}

void Server::purgePositions() {
    worker_->submit({
        [](Store& store) { store.purgeEndedPositions(WallClock::now()); },
        [this](std::exception_ptr, bool) {
            boost::asio::post(io_, [this] {
                if (stopping_) return;
                purgeTimer_->expires_after(std::chrono::minutes(1));
                purgeTimer_->async_wait([this](boost::system::error_code error) {
                    if (!error && !stopping_) purgePositions();
                });
            });
        },
    });
}

void Server::wait() {
    if (waited_) return;
    waited_ = true;
    for (auto& t : threads_) t.join();
    if (worker_) worker_->stop();
    side_.join();
    listener_.reset();
}

}  // namespace kelpa::server
