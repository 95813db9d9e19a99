#include "tests/server/TestCertificate.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include <boost/asio/ssl/host_name_verification.hpp>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace kelpa::server::testing {

namespace ssl = boost::asio::ssl;

namespace {

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Extension = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION, X509_EXTENSION_free>>;

void require(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

template <class Write>
void writePem(const std::string& path, Write write) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "w"), std::fclose);
    require(file != nullptr, "cannot create the PEM file");
    require(write(file.get()) == 1, "cannot write the PEM file");
}

}  // namespace

TestCertificate::TestCertificate(const std::string& directory)
    : certificatePath_(directory + "/server-cert.pem"), keyPath_(directory + "/server-key.pem") {
    Key key(EVP_EC_gen("P-256"));
    require(key != nullptr, "key generation");
    Certificate cert(X509_new());
    require(cert != nullptr, "certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    X509_set_pubkey(cert.get(), key.get());
    X509V3_CTX context;
    X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
    Extension alternative(X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1"));
    require(alternative != nullptr && X509_add_ext(cert.get(), alternative.get(), -1) == 1, "address");
    require(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "signing");
    writePem(certificatePath_, [&](FILE* f) { return PEM_write_X509(f, cert.get()); });
    writePem(keyPath_, [&](FILE* f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
}

std::unique_ptr<ssl::context> TestCertificate::trustingClient() const {
    auto context = std::make_unique<ssl::context>(ssl::context::tls_client);
    context->load_verify_file(certificatePath_);
    context->set_verify_mode(ssl::verify_peer);
    context->set_verify_callback(ssl::host_name_verification("127.0.0.1"));
    return context;
}

std::unique_ptr<ssl::context> TestCertificate::suspiciousClient() {
    auto context = std::make_unique<ssl::context>(ssl::context::tls_client);
    context->set_verify_mode(ssl::verify_peer);
    return context;
}

}  // namespace kelpa::server::testing
