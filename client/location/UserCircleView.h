#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"

#include <memory>

namespace kelpa {

class User;

namespace platform::ui {
class PanGestureRecognizer;
}

// A user's picture in a circle that can be dragged about and resized.
class UserCircleView : public platform::ui::ImageView {
public:
    // Placed with its top-left corner in the middle of the screen, `size` points wide and high.
    static std::shared_ptr<UserCircleView> initWithImage(ImagePtr image, std::shared_ptr<User> andUser,
                                                         double andWithAndHeight);

    // Grows or shrinks to `size`, keeping its top-left corner, over 1.5 s easing in.
    void resizeTo(double size);

    // Dragging: a touch brings the view to the front and marks where the drag starts from; each
    // pan update moves its centre by the pan's translation from there.
    void touchesBegan();
    void handlePan(const platform::ui::PanGestureRecognizer& recognizer);

    std::shared_ptr<User> user;
    double previousWidthAndHeight = 0;
    platform::ui::Point previousLocation;
};

}  // namespace kelpa
