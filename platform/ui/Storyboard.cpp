#include "platform/ui/Storyboard.h"

#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"

#include <fmt/format.h>

namespace kelpa::platform::ui {

namespace {
struct Registry {
    std::map<std::string, Storyboard::Builder> builders;
};

// Screens inside containers know the storyboard too.
void adopt(ViewController& controller, const std::shared_ptr<Storyboard>& storyboard) {
    if (!controller.storyboard()) controller.setStoryboard(storyboard);
    if (auto* navigation = dynamic_cast<NavigationController*>(&controller)) {
        for (auto& child : navigation->viewControllers()) adopt(*child, storyboard);
    }
    if (auto* tabs = dynamic_cast<TabBarController*>(&controller)) {
        for (auto& child : tabs->viewControllers()) adopt(*child, storyboard);
    }
}
}  // namespace

void Storyboard::registerStoryboard(const std::string& name, Builder builder) {
    Environment::current()->local<Registry>().builders[name] = std::move(builder);
}

std::shared_ptr<Storyboard> Storyboard::storyboardWithName(const std::string& name) {
    auto& builders = Environment::current()->local<Registry>().builders;
    auto it = builders.find(name);
    if (it == builders.end()) return nullptr;
    auto storyboard = std::make_shared<Storyboard>(name);
    it->second(*storyboard);
    return storyboard;
}

void Storyboard::registerScreen(const std::string& identifier, Factory factory) {
    screens_[identifier] = std::move(factory);
}

void Storyboard::registerSegue(const std::string& sourceClass, const std::string& identifier,
                               const std::string& destination, SegueKind kind) {
    segues_[{sourceClass, identifier}] = {destination, kind};
}

std::shared_ptr<ViewController> Storyboard::instantiateViewControllerWithIdentifier(const std::string& identifier) {
    auto it = screens_.find(identifier);
    if (it == screens_.end()) {
        log(fmt::format("storyboard \"{}\" has no screen \"{}\"", name_, identifier));
        return nullptr;
    }
    auto controller = it->second();
    if (controller) adopt(*controller, shared_from_this());
    return controller;
}

std::shared_ptr<ViewController> Storyboard::instantiateInitialViewController() {
    if (!initial_) return nullptr;
    return instantiateViewControllerWithIdentifier(*initial_);
}

bool Storyboard::hasSegue(const std::string& sourceClass, const std::string& identifier) const {
    return segues_.count({sourceClass, identifier}) > 0;
}

std::shared_ptr<ViewController> Storyboard::destinationOfSegue(const std::string& sourceClass,
                                                               const std::string& identifier) {
    auto it = segues_.find({sourceClass, identifier});
    if (it == segues_.end()) return nullptr;
    return instantiateViewControllerWithIdentifier(it->second.destination);
}

Storyboard::SegueKind Storyboard::segueKind(const std::string& sourceClass, const std::string& identifier) const {
    auto it = segues_.find({sourceClass, identifier});
    return it == segues_.end() ? SegueKind::show : it->second.kind;
}

}  // namespace kelpa::platform::ui
