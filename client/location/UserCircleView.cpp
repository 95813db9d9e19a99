#include "client/location/UserCircleView.h"

#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/Screen.h"

namespace kelpa {

namespace ui = platform::ui;

std::shared_ptr<UserCircleView> UserCircleView::initWithImage(ImagePtr image, std::shared_ptr<User> andUser,
                                                              double andWithAndHeight) {
    auto view = std::make_shared<UserCircleView>();
    const auto screen = ui::Screen::mainScreenBounds();
    // The size is read as a float, as the picture's layer takes it.
    const double size = static_cast<float>(andWithAndHeight);
    view->setFrame({screen.width / 2, screen.height / 2, size, size});
    view->setUserInteractionEnabled(true);
    view->setCornerRadius(size / 2);
    view->setClipsToBounds(true);
    view->setImage(std::move(image));
    view->user = std::move(andUser);
    return view;
}

void UserCircleView::resizeTo(double size) {
    previousWidthAndHeight = frame().height;
    const double side = static_cast<float>(size);
    ui::View::animateWithDuration(1.5, 0, AnimationCurve::easeIn, [this, side] {
        setCornerRadius(side / 2);
        setFrame({frame().x, frame().y, side, side});
    });
}

void UserCircleView::touchesBegan() {
    if (auto* parent = superview()) parent->bringSubviewToFront(shared_from_this());
    previousLocation = center();
}

void UserCircleView::handlePan(const ui::PanGestureRecognizer& recognizer) {
    const auto translation = recognizer.translationInView(superview());
    setCenter({previousLocation.x + translation.x, previousLocation.y + translation.y});
}

}  // namespace kelpa
