#include "platform/kits/FacebookKit.h"

#include "platform/FormEncoding.h"

namespace kelpa::platform {

HttpRequest FacebookKit::pictureRequest(const std::string& socialID) {
    HttpRequest request;
    request.method = "GET";
    // The identifier is one path segment; encoding keeps a hostile one from changing the path.
    request.url = "https://graph.facebook.com/" + FormEncoding::percentEncode(socialID) +
                  "/picture?width=700";
    return request;
}

}  // namespace kelpa::platform
