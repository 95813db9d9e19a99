// Profile images: the service's copy, the default avatar, the social networks' pictures and a
// local copy in the documents directory.
#include "client/model/ModelRequest.h"
#include "client/model/ProfilePictureCache.h"
#include "client/model/User.h"
#include "platform/Async.h"
#include "platform/DispatchQueue.h"
#include "platform/Environment.h"
#include "platform/HttpClient.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/kits/FacebookKit.h"
#include "platform/kits/TwitterKit.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelpa {

namespace {
// Shorter bodies are the service saying "no image", not a picture.
constexpr std::size_t kMinimumImageBytes = 300;

std::string imageAddress(const std::optional<std::string>& userID) {
    return API::serviceBaseURL() + "/Profiles/" + userID.value_or("");
}

ImagePtr decoded(const std::optional<std::string>& body) {
    if (!body) return nullptr;
    auto image = platform::ImageCodec::decode(*body);
    if (!image || image->empty()) return nullptr;
    return std::make_shared<const platform::Image>(std::move(*image));
}

// One fetch of a user's picture from the service, asking with the ETag of the copy kept from
// the last fetch, if any, so an unchanged picture is not sent again.
struct ServiceFetch {
    std::string address;
    std::optional<ProfilePictureCache::Entry> kept;

    // Made on the main queue, where the cache lives.
    static ServiceFetch of(const std::optional<std::string>& userID) {
        auto address = imageAddress(userID);
        auto kept = ProfilePictureCache::current().find(address);
        return {std::move(address), std::move(kept)};
    }
};

struct ServiceAnswer {
    ImagePtr image;
    std::optional<std::string> etag;  // of a picture sent in full
    bool unchanged = false;           // the kept copy is still current
    bool answered = false;            // the service answered at all
};

// Blocks: run it on a background queue. Our service answers "no image" with a 404 and an
// empty body, so an error status counts as none too.
ServiceAnswer fetchServiceImage(const ServiceFetch& fetch) {
    auto http = platform::Environment::current()->http;
    if (!http) return {};
    platform::HttpRequest request;
    request.method = "GET";
    request.url = fetch.address;
    if (fetch.kept) request.headers.emplace_back("If-None-Match", fetch.kept->etag);
    auto response = http->send(request);
    if (!response) return {};
    if (response->status == 304 && fetch.kept) return {fetch.kept->image, std::nullopt, true, true};
    if (response->status < 200 || response->status > 299) return {nullptr, std::nullopt, false, true};
    if (response->body.size() < kMinimumImageBytes) return {nullptr, std::nullopt, false, true};
    return {decoded(response->body), response->header("ETag"), false, true};
}

// Back on the main queue: keeps what came in full with its ETag, forgets a picture the service
// no longer has (an exchange that failed changes nothing), and gives the picture to show.
ImagePtr settle(const ServiceFetch& fetch, const ServiceAnswer& answer) {
    auto& cache = ProfilePictureCache::current();
    if (answer.unchanged) return answer.image;
    if (answer.image && answer.etag) {
        cache.keep(fetch.address, *answer.etag, answer.image);
    } else if (answer.answered) {
        cache.forget(fetch.address);
    }
    return answer.image;
}

std::filesystem::path localCopyPath(const std::string& userID) {
    return platform::Environment::current()->documentsDirectory / (userID + ".jpg");
}

// The Twitter avatar's body, or none, for the main queue. The kit answers on the main queue;
// the download blocks, so it runs on a queue of its own.
void fetchTwitterPicture(const std::string& label, const std::optional<std::string>& socialID,
                         std::function<void(std::optional<std::string>)> done) {
    auto twitter = platform::Environment::current()->twitter;
    if (!twitter) {
        done(std::nullopt);
        return;
    }
    twitter->loadUserWithID(socialID.value_or(""), [label, twitter, done](std::optional<platform::TwitterUser> user,
                                                                          std::optional<std::string>) {
        if (!user || user->profileImageLargeURL.empty()) {
            done(std::nullopt);
            return;
        }
        platform::runInBackground(
            label, [twitter, url = user->profileImageLargeURL] { return twitter->downloadImage(url); }, done);
    });
}

std::optional<std::string> fetchFacebookPicture(const std::shared_ptr<platform::FacebookKit>& facebook,
                                                const std::optional<std::string>& socialID) {
    if (!facebook) return std::nullopt;
    return facebook->fetchPicture(socialID.value_or(""));
}
}  // namespace

ImagePtr User::getDefaultProfileImage() {
    auto image = platform::Resources::imageNamed("Default_Avatar.png");
    return image ? std::make_shared<const platform::Image>(std::move(*image)) : nullptr;
}

bool User::saveImageLocal() {
    if (!profileImage || !userID) return false;
    auto jpeg = platform::ImageCodec::encodeJPEG(*profileImage, 0.0);
    if (!jpeg) return false;
    // Written to a temporary file and renamed, so a reader never sees half an image.
    const auto path = localCopyPath(*userID);
    // A fresh installation has no documents directory yet.
    std::error_code created;
    std::filesystem::create_directories(path.parent_path(), created);
    auto temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(jpeg->data(), static_cast<std::streamsize>(jpeg->size()));
        if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) std::filesystem::remove(temporary, ec);
    return !ec;
}

ImagePtr User::getImageLocal() const {
    if (!userID) return nullptr;
    std::ifstream in(localCopyPath(*userID), std::ios::binary);
    if (!in) return nullptr;
    return decoded(std::string(std::istreambuf_iterator<char>(in), {}));
}

bool User::deleteImageLocal() {
    if (!userID) return false;
    std::error_code ec;
    return std::filesystem::remove(localCopyPath(*userID), ec);
}

void User::getProfileImageFromAPIWithCompletitionHandler(ImageHandler handler) {
    platform::runInBackground(
        "getProfileImageFromAPI", [fetch = ServiceFetch::of(userID)] { return std::pair(fetch, fetchServiceImage(fetch)); },
        [self = shared_from_this(), handler](std::pair<ServiceFetch, ServiceAnswer> done) {
            auto image = settle(done.first, done.second);
            if (image) self->profileImage = image;
            if (handler) handler(image ? image : getDefaultProfileImage());
        });
}

void User::getProfileImageWithCompletitionHandler(ImageErrorHandler handler) {
    getProfileImageWithCompletitionHandler(std::move(handler), false);
}

void User::getProfileImageWithCompletitionHandler(ImageErrorHandler handler, bool withReloading) {
    if (!withReloading) {
        if (!profileImage) {
            if (auto local = getImageLocal()) profileImage = local;
        }
        if (handler) handler(profileImage ? profileImage : getDefaultProfileImage(), std::nullopt);
        return;
    }

    struct Fetched {
        ServiceFetch fetch;
        ServiceAnswer service;
        std::optional<std::string> facebookBody;
    };
    auto self = shared_from_this();
    // A picture found on a social network becomes the profile image and goes to the service
    // too; without one the default is shown only when nothing better is held.
    auto adoptSocial = [self, handler](std::optional<std::string> body) {
        if (auto image = decoded(body)) {
            self->profileImage = image;
            self->setProfileImage(image, [](std::int32_t code, Info info) {
                if (code == 0) platform::log("Profile Image successfully Uploaded");
                if (code == 1) platform::log(fmt::format("Profile Image Upload failed with: {}", info.value_or("(null)")));
            });
            if (handler) handler(image, std::nullopt);
        } else if (!self->profileImage) {
            if (handler) handler(getDefaultProfileImage(), std::nullopt);
        }
    };
    const auto socialType = this->socialType;
    const auto socialID = this->socialID;
    auto facebook = socialType == 0 ? platform::Environment::current()->facebook : nullptr;
    platform::runInBackground(
        "getProfileImage",
        [fetch = ServiceFetch::of(userID), facebook, socialID] {
            Fetched fetched{fetch, fetchServiceImage(fetch), std::nullopt};
            if (!fetched.service.image && facebook) fetched.facebookBody = fetchFacebookPicture(facebook, socialID);
            return fetched;
        },
        [self, handler, adoptSocial, socialType, socialID](Fetched fetched) {
            if (auto image = settle(fetched.fetch, fetched.service)) {
                self->profileImage = image;
                if (handler) handler(image, std::nullopt);
                return;
            }
            switch (socialType) {
                case 0: adoptSocial(std::move(fetched.facebookBody)); break;
                case 1: fetchTwitterPicture("getProfileImage", socialID, adoptSocial); break;
                // An e-mail account, and any type we do not know, has only the default.
                default:
                    if (handler) handler(getDefaultProfileImage(), std::nullopt);
            }
        });
}

void User::getProfileImageFromSocialNetworkWithCompletitionHandler(ImageErrorHandler handler) {
    if (!registrationFromSocial || (socialType != 0 && socialType != 1)) return;
    const char* label = "getProfilImageFromSocialNetworkQueue";
    // Any body counts here, however short; the caller uploads what it gets.
    auto deliver = [handler](const char* network) {
        return [handler, network](std::optional<std::string> body) {
            if (!handler) return;
            if (auto image = decoded(body)) {
                handler(image, std::nullopt);
            } else {
                handler(getDefaultProfileImage(), fmt::format("no image found on {}", network));
            }
        };
    };
    if (socialType == 1) {
        fetchTwitterPicture(label, socialID, deliver("twitter"));
        return;
    }
    platform::runInBackground(
        label,
        [facebook = platform::Environment::current()->facebook, socialID = socialID] {
            return fetchFacebookPicture(facebook, socialID);
        },
        deliver("facebook"));
}

void User::setProfileImage(ImagePtr image, StatusHandler handler) {
    const std::string userID = this->userID.value_or("");
    platform::runInBackground(
        "setProfileImage",
        [image, userID] {
            return Reply::status(API::sendImage(image ? *image : platform::Image{}, Action::setProfileImage, userID));
        },
        [self = shared_from_this(), image, handler](StatusResult result) {
            if (!result.info) self->profileImage = image;
            if (handler) handler(result.code, result.info);
        });
}

void User::deleteProfileImageWithCompletitionHandler(StatusHandler handler) {
    ModelRequest::status("deleteProfileImageQueue", Parameters(Action::deleteProfileImage),
                         [self = shared_from_this()] { self->deleteImageLocal(); }, std::move(handler));
}

}  // namespace kelpa
