#include "server/actions/AccountActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"
#include "server/Services.h"
#include "server/social/SocialVerifiers.h"


namespace kelpa::server {
namespace {

constexpr std::size_t kMaxName = 64;
constexpr std::size_t kMaxEmail = 254;
constexpr std::size_t kMaxPassword = 128;
constexpr std::size_t kMaxSocialId = 64;
constexpr std::size_t kMaxToken = 256;

std::string email(const Request& r) {
    std::string e = r.text("email", kMaxEmail);
    for (char& c : e) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (e.find('@') == std::string::npos || e.find_first_of(" \t\r\n") != std::string::npos)
        throw Refusal("Malformed field email");
    return e;
}

std::string password(const Request& r) {
    std::string p = r.text("password", kMaxPassword);
    if (p.size() < 8) throw Refusal("Field password is too short");
    return p;
}

Step signedInReply(ActionContext& c, std::int64_t user) {
    c.bindTo(user);
    const auto row = c.store().user(user);
    if (!row) throw Refusal("No such user", 2);
    return Step::reply(RecordJson::user(*row, true));
}

constexpr const char* kTooManyRegistrations = "Too many registrations from this address, try again later";

Step registerWithEmail(ActionContext& c) {
    const auto address = email(c.request());
    const auto secret = password(c.request());
    const auto name = c.request().text("displayName", kMaxName);
    if (c.store().credentialByEmail(address)) throw Refusal("User already exists", 2);
    c.countPerAddress(c.services().registrationsByAddress, kTooManyRegistrations);
    // Hashing is deliberately slow: do it off the database thread, then insert.
    return Step::offload([address, secret, name, &hasher = c.services().hasher] {
        auto hash = hasher.hash(secret);
        return Step::inDb([address, name, hash](ActionContext& c) {
            const auto id = c.store().createEmailUser(address, hash, name, c.now());
            if (!id) throw Refusal("User already exists", 2);
            c.bindTo(*id);
            return Step::reply({{"userID", std::to_string(*id)}});
        });
    });
}

// Every password attempt is counted before the slow verification starts (and taken back when
// it succeeds), so concurrent guesses cannot all pass the check first. Devices bound to the
// account count against themselves only: strangers' guesses do not lock the owner out.
Step signInWithEmail(ActionContext& c) {
    const auto address = email(c.request());
    const auto secret = password(c.request());
    c.throttleDevice();
    const auto credential = c.store().credentialByEmail(address);
    const bool owner = credential && c.deviceBoundTo(credential->userId);
    const auto& services = c.services();
    std::vector<std::int64_t> reserved;
    const auto count = [&](const FailureThrottle& throttle, std::string_view subject) {
        std::int64_t record = 0;
        if (throttle.exhausted(c.store(), subject, c.now(), &record)) throw Refusal(ActionContext::kTooManyFailures);
        reserved.push_back(record);
    };
    if (owner) {
        count(services.authFailures, c.deviceKey());
    } else {
        count(services.authFailures, "email:" + address);
        count(services.passwordsByAddress, c.request().clientAddress());
    }
    // An unknown address costs a verification too, so timing does not tell which exist.
    const std::string stored = credential ? credential->passwordHash : std::string();
    return Step::offload([secret, stored, credential, reserved, &services] {
        const bool ok = !stored.empty() && services.hasher.verify(stored, secret);
        if (stored.empty()) services.hasher.hash(secret);
        if (!ok) throw Refusal("No such user", 2);
        return Step::inDb([user = credential->userId, reserved](ActionContext& c) {
            for (const auto record : reserved) c.store().forgetFailure(record);
            return signedInReply(c, user);
        });
    });
}

int socialType(const Request& r) { return static_cast<int>(r.integer("socialType", 0, 1)); }

constexpr std::size_t kMaxSocialToken = 2048;

// A social identifier alone proves nothing (they are public): the client also shows the
// access token the network gave it, and the network confirms it before anything is answered.
struct SocialClaim {
    int type = 0;
    SocialProof proof;
    const SocialVerifier* verifier = nullptr;
};

SocialClaim socialClaim(const Request& r, const Services& services) {
    SocialClaim claim;
    claim.proof.socialID = r.text("socialID", kMaxSocialId);
    claim.type = socialType(r);
    claim.verifier = services.social.forType(claim.type);
    if (!claim.verifier)
        throw Refusal(std::string("Sign-in with ") + SocialVerifiers::networkName(claim.type) +
                      " is not set up on this service");
    claim.proof.token = r.text("socialToken", kMaxSocialToken);
    if (claim.verifier->needsTokenSecret()) claim.proof.tokenSecret = r.text("socialTokenSecret", kMaxSocialToken);
    return claim;
}

// Counts the check against the client address first (taken back once the network confirms),
// then asks the network off the database thread, then goes on with `next` in the database.
Step verifiedSocial(ActionContext& c, SocialClaim claim, Step::DbStage next) {
    std::int64_t reserved = 0;
    if (c.services().socialByAddress.exhausted(c.store(), c.request().clientAddress(), c.now(), &reserved))
        throw Refusal(ActionContext::kTooManyFailures);
    return Step::offload([claim = std::move(claim), reserved, next = std::move(next)] {
        switch (claim.verifier->verify(claim.proof)) {
        case SocialVerifier::Verdict::confirmed:
            break;
        case SocialVerifier::Verdict::rejected:
            throw Refusal(std::string(SocialVerifiers::networkName(claim.type)) + " did not confirm this account");
        case SocialVerifier::Verdict::unreachable:
            throw Refusal(std::string(SocialVerifiers::networkName(claim.type)) +
                          " could not be reached, try again later");
        }
        return Step::inDb([reserved, next](ActionContext& c) {
            c.store().forgetFailure(reserved);
            return next(c);
        });
    });
}

Step registerWithSocial(ActionContext& c) {
    auto claim = socialClaim(c.request(), c.services());
    const auto name = c.request().text("displayName", kMaxName);
    c.countPerAddress(c.services().registrationsByAddress, kTooManyRegistrations);
    const int type = claim.type;
    const std::string id = claim.proof.socialID;
    return verifiedSocial(c, std::move(claim), [type, id, name](ActionContext& c) {
        const auto user = c.store().createSocialUser(type, id, name, c.now());
        if (!user) throw Refusal("User already exists", 2);
        c.bindTo(*user);
        return Step::reply({{"userID", std::to_string(*user)}});
    });
}

Step signInWithSocial(ActionContext& c) {
    auto claim = socialClaim(c.request(), c.services());
    const int type = claim.type;
    const std::string id = claim.proof.socialID;
    return verifiedSocial(c, std::move(claim), [type, id](ActionContext& c) {
        const auto user = c.store().userBySocial(type, id);
        if (!user) throw Refusal("No such user", 2);
        return signedInReply(c, *user);
    });
}

Step signInWithId(ActionContext& c) { return signedInReply(c, c.signedInUser(2)); }

Step registerPushToken(ActionContext& c) {
    std::string token = c.request().text("token", kMaxToken);
    for (char& ch : token) {
        if (!std::isxdigit(static_cast<unsigned char>(ch))) throw Refusal("Malformed field token");
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    c.store().setPushToken(c.device(), token);
    return Replies::ok();
}

}  // namespace

void AccountActions::install(Dispatcher& d) {
    d.add(100, registerWithSocial);
    d.add(101, signInWithId);
    d.add(102, signInWithSocial);
    d.add(104, signInWithEmail);
    d.add(105, registerWithEmail);
    d.add(106, registerPushToken);
}

}  // namespace kelpa::server
