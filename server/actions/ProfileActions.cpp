#include "server/actions/ProfileActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/pictures/JpegRecoder.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"

namespace kelpa::server {
namespace {

Step upload(ActionContext& c) {
    const auto me = c.signedInUser();
    const std::string* image = c.request().file("image");
    if (!image || image->empty()) throw Refusal("Missing field image");
    if (image->size() > c.services().limits.maxPictureBytes)
        throw Refusal("The picture is larger than 5 MB");
    // The header tells the size before anything is decoded.
    const auto size = JpegRecoder::dimensions(*image);
    if (!size) throw Refusal("The picture is not a JPEG image");
    if (size->width > JpegRecoder::kMaxSide || size->height > JpegRecoder::kMaxSide ||
        size->pixels() > JpegRecoder::kMaxPixels)
        throw Refusal("The picture has more than 12 megapixels");
    // Decoding and encoding take a while: off the database thread. The request outlives
    // every stage, so the image is not copied.
    return Step::offload([me, image, &profiles = c.services().profiles] {
        const auto recoded = JpegRecoder::recode(*image);
        if (!recoded) return Step::reply(Replies::failure(1, "The picture is not a JPEG image"));
        if (!profiles.put(me, *recoded)) return Step::reply(Replies::serviceError());
        return Replies::ok();
    });
}

Step remove(ActionContext& c) {
    const auto me = c.signedInUser();
    return Step::offload([me, &profiles = c.services().profiles] {
        if (!profiles.remove(me)) return Step::reply(Replies::serviceError());
        return Replies::ok();
    });
}

}  // namespace

void ProfileActions::install(Dispatcher& d) {
    d.add(108, upload);
    d.add(109, remove);
}

}  // namespace kelpa::server
