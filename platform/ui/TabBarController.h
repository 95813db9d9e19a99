#pragma once

#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa::platform::ui {

// Tabs along the bottom; each tab's title is its screen's title.
class TabBarController : public ViewController {
public:
    const char* className() const override { return "TabBarController"; }

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return tabs_; }
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers);
    int selectedIndex() const { return selected_; }
    ViewController* selectedViewController() const;
    // A person's tap on a tab, or code choosing one.
    void setSelectedIndex(int index);

    std::vector<ViewController*> visibleChildren() const override;

private:
    std::vector<std::shared_ptr<ViewController>> tabs_;
    int selected_ = 0;
};

}  // namespace kelpa::platform::ui
