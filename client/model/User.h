#pragma once

#include "client/model/Handlers.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa {

class Group;
class Message;

// A user of the service, as the service describes one, with the client's caches.
class User : public std::enable_shared_from_this<User> {
public:
    std::optional<std::string> userID;
    std::optional<std::string> displayName;
    std::optional<std::string> phoneNumber;
    bool registrationFromSocial = false;
    bool registrationCompleted = false;
    std::optional<std::string> socialID;  // only for users registered through a social network
    std::int32_t socialType = -1;         // -1 e-mail, 0 Facebook, 1 Twitter
    ImagePtr profileImage;                // the image last obtained for this record
    std::optional<RecordList<User>> contacts;  // unset until the first successful load
    std::optional<RecordList<Group>> groups;   // unset until the first successful load

    static std::shared_ptr<User> initWithJSON(const nlohmann::json& json);

    // The signed-in user; replaced on the main queue.
    static std::shared_ptr<User> getCurrentUser();
    static void setCurrentUser(std::shared_ptr<User> user);

    // Contacts, groups, other users and messages.
    void addContact(const std::string& contactID, StatusHandler handler);
    void removeContact(std::shared_ptr<User> contact, StatusHandler handler);
    void getContactsWithCompletitionHandler(ListHandler<User> handler);
    void getContactsWithCompletitionHandler(ListHandler<User> handler, bool withReloading);
    void getGroupsWithCompletitionHandler(ListHandler<Group> handler);
    void getGroupsWithCompletitionHandler(ListHandler<Group> handler, bool withReloading);
    void getAllAvailableUsers(ListHandler<User> handler);
    static void getUserFromID(const std::string& userID, RecordHandler<User> handler);
    void updateDisplayName(const std::string& displayName, StatusHandler handler);
    void updatePhoneNumber(const std::string& phoneNumber, StatusHandler handler);
    // Sends the code typed by the person with the number (field "code"): the service saves only
    // a number whose texted code comes back. The overload without it is refused by the service.
    void updatePhoneNumber(const std::string& phoneNumber, const std::string& code, StatusHandler handler);
    void updateRegistrationCompleted(bool completed, StatusHandler handler);
    void getContactsUsingKelpaFromOwnAdressbook(const std::string& numbers, ListHandler<User> handler);
    void getMessagesWithUser(std::shared_ptr<User> user, ListHandler<Message> andCompletitionHandler);
    std::string getSocialTypeAsString() const;

    // Profile images.
    static ImagePtr getDefaultProfileImage();
    bool saveImageLocal();
    ImagePtr getImageLocal() const;
    bool deleteImageLocal();
    void getProfileImageFromAPIWithCompletitionHandler(ImageHandler handler);
    void getProfileImageWithCompletitionHandler(ImageErrorHandler handler);
    void getProfileImageWithCompletitionHandler(ImageErrorHandler handler, bool withReloading);
    void getProfileImageFromSocialNetworkWithCompletitionHandler(ImageErrorHandler handler);
    void setProfileImage(ImagePtr image, StatusHandler handler);
    void deleteProfileImageWithCompletitionHandler(StatusHandler handler);
};

}  // namespace kelpa
