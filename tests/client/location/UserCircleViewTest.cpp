#include "TestEnvironment.h"

#include "client/location/UserCircleView.h"
#include "client/model/User.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/Screen.h"

#include <gtest/gtest.h>

namespace kelpa::testing {
namespace {

namespace ui = platform::ui;

TEST(UserCircleView, StartsAsACircleWithItsCornerInTheMiddleOfTheScreen) {
    TestEnvironment t;
    ui::Screen::setMainScreenSize({400, 800});
    auto user = std::make_shared<User>();
    auto circle = UserCircleView::initWithImage(nullptr, user, 60);
    EXPECT_EQ(circle->frame(), (ui::Rect{200, 400, 60, 60}));
    EXPECT_EQ(circle->cornerRadius(), 30);
    EXPECT_TRUE(circle->clipsToBounds());
    EXPECT_TRUE(circle->isUserInteractionEnabled());
    EXPECT_EQ(circle->user, user);
}

TEST(UserCircleView, ResizingKeepsTheCornerAndAnimatesEasingIn) {
    TestEnvironment t;
    auto circle = UserCircleView::initWithImage(nullptr, nullptr, 60);
    std::optional<ui::View::Animation> seen;
    circle->observe([&] {
        if (const auto* animation = ui::View::currentAnimation()) seen = *animation;
    });
    circle->resizeTo(100);
    EXPECT_EQ(circle->previousWidthAndHeight, 60);
    EXPECT_EQ(circle->frame(), (ui::Rect{195, 422, 100, 100}));
    EXPECT_EQ(circle->cornerRadius(), 50);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->duration, 1.5);
    EXPECT_EQ(seen->curve, ui::View::AnimationCurve::easeIn);
    EXPECT_FALSE(ui::View::currentAnimation());
}

TEST(UserCircleView, DraggingMovesTheCentreByThePanFromWhereTheTouchBegan) {
    TestEnvironment t;
    auto parent = std::make_shared<ui::View>();
    auto circle = UserCircleView::initWithImage(nullptr, nullptr, 40);
    auto other = std::make_shared<ui::View>();
    parent->addSubview(circle);
    parent->addSubview(other);
    circle->touchesBegan();
    EXPECT_EQ(parent->subviews().back(), circle);
    EXPECT_EQ(circle->previousLocation, (ui::Point{215, 442}));
    ui::PanGestureRecognizer pan;
    pan.setTranslation({10, -20});
    circle->handlePan(pan);
    pan.setTranslation({30, 5});
    circle->handlePan(pan);
    EXPECT_EQ(circle->center(), (ui::Point{245, 447}));
}

}  // namespace
}  // namespace kelpa::testing
