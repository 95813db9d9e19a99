#pragma once

namespace kelpa::server {

class Dispatcher;

// Contacts and chat (111 records matches as contacts too; 500-502, 600, 601).
class ContactActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
