#pragma once

#include <memory>
#include <string>

#include <boost/asio/ssl/context.hpp>

namespace kelpa::server {

// The server side of HTTPS: TLS 1.2 or newer with the given PEM certificate chain and key.
class TlsContext {
public:
    // Throws std::runtime_error naming the file that cannot be used.
    static std::unique_ptr<boost::asio::ssl::context> load(const std::string& certificateChain,
                                                           const std::string& privateKey);
};

}  // namespace kelpa::server
