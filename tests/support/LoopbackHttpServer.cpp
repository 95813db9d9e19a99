#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>

namespace kelpa::testing {

namespace {
std::optional<size_t> contentLength(const std::string& head) {
    std::string lower;
    for (char c : head) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) return std::nullopt;
    return std::stoul(head.substr(at + 17));
}

void sendAll(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        const auto n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}
}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Script script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener_, 16) != 0) {
        throw std::runtime_error("bind/listen");
    }
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
    for (int fd : silentConnections_) ::close(fd);
}

std::vector<std::string> LoopbackHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string LoopbackHttpServer::headOf(const std::string& raw) { return raw.substr(0, raw.find("\r\n\r\n")); }

std::string LoopbackHttpServer::bodyOf(const std::string& raw) {
    const auto at = raw.find("\r\n\r\n");
    return at == std::string::npos ? std::string() : raw.substr(at + 4);
}

void LoopbackHttpServer::serve() {
    while (!stopping_) {
        pollfd pfd{listener_, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::string raw;
        char buffer[65536];
        // Read the head, then as many body bytes as it announces.
        while (true) {
            const auto headEnd = raw.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                const auto length = contentLength(raw.substr(0, headEnd + 2)).value_or(0);
                if (raw.size() >= headEnd + 4 + length) break;
            }
            const auto n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            raw.append(buffer, static_cast<size_t>(n));
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(raw);
        }
        const Reply reply = script_(raw);
        if (reply.silent) {
            silentConnections_.push_back(fd);
            continue;
        }
        if (!reply.hangUp) {
            std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " Status\r\n";
            head += "Content-Type: " + reply.contentType + "\r\n";
            head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
            head += "Connection: close\r\n\r\n";
            sendAll(fd, head + reply.body);
        }
        ::close(fd);
    }
}

}  // namespace kelpa::testing
