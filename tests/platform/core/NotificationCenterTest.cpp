#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

using kelpa::platform::Notification;
using kelpa::platform::NotificationCenter;

TEST(NotificationCenter, DeliversByNameWithTheObjectBeforePostReturns) {
    NotificationCenter center;
    std::vector<std::string> seen;
    center.addObserver("reloadChat", [&](const Notification& n) {
        seen.push_back(n.name + (n.object.has_value() ? "+object" : ""));
    });
    center.addObserver("bluetoothJoinRequested", [&](const Notification& n) {
        seen.push_back(n.name + ":" + std::any_cast<std::string>(n.object));
    });
    center.post("reloadChat");
    center.post("bluetoothJoinRequested", std::string("payload"));
    center.post("nobodyListens");
    EXPECT_EQ(seen, (std::vector<std::string>{"reloadChat", "bluetoothJoinRequested:payload"}));
}

TEST(NotificationCenter, ObserverRemovedDuringPostIsNotCalled) {
    NotificationCenter center;
    int first = 0, second = 0;
    NotificationCenter::Token secondToken = 0;
    center.addObserver("n", [&](const Notification&) {
        ++first;
        center.removeObserver(secondToken);
    });
    secondToken = center.addObserver("n", [&](const Notification&) { ++second; });
    center.post("n");
    center.post("n");
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
}
