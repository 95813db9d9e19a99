#include "server/http/TlsContext.h"

#include <stdexcept>

namespace kelpa::server {

namespace ssl = boost::asio::ssl;

std::unique_ptr<ssl::context> TlsContext::load(const std::string& certificateChain,
                                               const std::string& privateKey) {
    auto context = std::make_unique<ssl::context>(ssl::context::tls_server);
    context->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                         ssl::context::no_sslv3 | ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1 |
                         ssl::context::single_dh_use);
    boost::system::error_code ec;
    context->use_certificate_chain_file(certificateChain, ec);
    if (ec) throw std::runtime_error("cannot use TLS certificate " + certificateChain + ": " + ec.message());
    context->use_private_key_file(privateKey, ssl::context::pem, ec);
    if (ec) throw std::runtime_error("cannot use TLS key " + privateKey + ": " + ec.message());
    if (SSL_CTX_check_private_key(context->native_handle()) != 1)
        throw std::runtime_error("TLS key " + privateKey + " does not match certificate " + certificateChain);
    return context;
}

}  // namespace kelpa::server
