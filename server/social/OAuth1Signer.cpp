#include "server/social/OAuth1Signer.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sodium.h>

#include <algorithm>

#include "server/WallClock.h"
#include "server/http/OutboundHttp.h"

namespace kelpa::server {
namespace {

using Encode = std::string (*)(const std::string&);
constexpr Encode encode = &OutboundHttp::percentEncode;

OAuth1Signer::Parameters protocolParameters(const OAuth1Signer::Credentials& credentials, const std::string& nonce,
                                            std::int64_t timestamp) {
    return {{"oauth_consumer_key", credentials.consumerKey},
            {"oauth_nonce", nonce},
            {"oauth_signature_method", "HMAC-SHA1"},
            {"oauth_timestamp", std::to_string(timestamp)},
            {"oauth_token", credentials.token},
            {"oauth_version", "1.0"}};
}

std::string base64(const unsigned char* data, int size) {
    std::string out(static_cast<std::size_t>(4 * ((size + 2) / 3)), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data, size);
    out.resize(static_cast<std::size_t>(written));
    return out;
}

std::string sign(const std::string& method, const std::string& url, OAuth1Signer::Parameters all,
                 const OAuth1Signer::Credentials& credentials) {
    for (auto& [name, value] : all) {
        name = encode(name);
        value = encode(value);
    }
    std::sort(all.begin(), all.end());
    std::string joined;
    for (const auto& [name, value] : all) {
        if (!joined.empty()) joined += '&';
        joined += name + '=' + value;
    }
    const std::string base = method + '&' + encode(url) + '&' + encode(joined);
    const std::string key = encode(credentials.consumerSecret) + '&' + encode(credentials.tokenSecret);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(base.data()),
         base.size(), digest, &length);
    return base64(digest, static_cast<int>(length));
}

}  // namespace

std::string OAuth1Signer::signature(const std::string& method, const std::string& url, const Parameters& parameters,
                                    const Credentials& credentials, const std::string& nonce,
                                    std::int64_t timestamp) {
    auto all = protocolParameters(credentials, nonce, timestamp);
    all.insert(all.end(), parameters.begin(), parameters.end());
    return sign(method, url, std::move(all), credentials);
}

std::string OAuth1Signer::authorization(const std::string& method, const std::string& url,
                                        const Parameters& parameters, const Credentials& credentials,
                                        const std::string& nonce, std::int64_t timestamp) {
    auto header = protocolParameters(credentials, nonce, timestamp);
    header.emplace_back("oauth_signature", signature(method, url, parameters, credentials, nonce, timestamp));
    std::sort(header.begin(), header.end());
    std::string text = "OAuth ";
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (i) text += ", ";
        text += encode(header[i].first) + "=\"" + encode(header[i].second) + '"';
    }
    return text;
}

std::string OAuth1Signer::authorization(const std::string& method, const std::string& url,
                                        const Parameters& parameters, const Credentials& credentials) {
    unsigned char random[16];
    randombytes_buf(random, sizeof random);
    std::string nonce(sizeof random * 2 + 1, '\0');
    sodium_bin2hex(nonce.data(), nonce.size(), random, sizeof random);
    nonce.pop_back();
    return authorization(method, url, parameters, credentials, nonce, WallClock::now());
}

}  // namespace kelpa::server
