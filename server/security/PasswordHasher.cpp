#include "server/security/PasswordHasher.h"

#include <sodium.h>

#include <stdexcept>

namespace kelpa::server {

PasswordHasher::Cost PasswordHasher::Cost::interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

PasswordHasher::Cost PasswordHasher::Cost::minimal() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

PasswordHasher::PasswordHasher(Cost cost) : cost_(cost) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium failed to start");
}

std::string PasswordHasher::hash(const std::string& password) const {
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), cost_.ops, cost_.memory,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("argon2id hashing failed");
    return out;
}

bool PasswordHasher::verify(const std::string& stored, const std::string& password) const {
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

}  // namespace kelpa::server
