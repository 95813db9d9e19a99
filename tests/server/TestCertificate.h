#pragma once

#include <memory>
#include <string>

#include <boost/asio/ssl/context.hpp>

namespace kelpa::server::testing {

// A self-signed certificate for 127.0.0.1 made on the spot (P-256, valid for a day), written
// as PEM files into the given directory, and client contexts that do or do not trust it.
class TestCertificate {
public:
    explicit TestCertificate(const std::string& directory);

    const std::string& certificatePath() const { return certificatePath_; }
    const std::string& keyPath() const { return keyPath_; }
    // Verifies the server's certificate against this one and its address against 127.0.0.1.
    std::unique_ptr<boost::asio::ssl::context> trustingClient() const;
    // Verifies against an empty trust store, so this certificate is rejected.
    static std::unique_ptr<boost::asio::ssl::context> suspiciousClient();

private:
    std::string certificatePath_;
    std::string keyPath_;
};

}  // namespace kelpa::server::testing
