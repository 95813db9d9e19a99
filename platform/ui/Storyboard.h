#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace kelpa::platform::ui {

class ViewController;

// A registry of screens by identifier and of segues by (source screen class, identifier).
// The application describes its storyboards once; screens made from one know it.
class Storyboard : public std::enable_shared_from_this<Storyboard> {
public:
    using Factory = std::function<std::shared_ptr<ViewController>()>;
    using Builder = std::function<void(Storyboard&)>;
    enum class SegueKind {
        show,            // pushed onto the source's navigation stack (presented without one)
        presentModally,  // presented over the source
    };

    explicit Storyboard(std::string name) : name_(std::move(name)) {}

    // Storyboards of the application, described once per environment and made on demand.
    static void registerStoryboard(const std::string& name, Builder builder);
    // None when no storyboard of that name was registered.
    static std::shared_ptr<Storyboard> storyboardWithName(const std::string& name);

    const std::string& name() const { return name_; }
    void registerScreen(const std::string& identifier, Factory factory);
    // `destination` is a screen identifier of this storyboard.
    void registerSegue(const std::string& sourceClass, const std::string& identifier, const std::string& destination,
                       SegueKind kind = SegueKind::show);
    void setInitialScreen(const std::string& identifier) { initial_ = identifier; }

    // A new screen (none for an unknown identifier), which knows this storyboard.
    std::shared_ptr<ViewController> instantiateViewControllerWithIdentifier(const std::string& identifier);
    std::shared_ptr<ViewController> instantiateInitialViewController();

    bool hasSegue(const std::string& sourceClass, const std::string& identifier) const;
    std::shared_ptr<ViewController> destinationOfSegue(const std::string& sourceClass, const std::string& identifier);
    SegueKind segueKind(const std::string& sourceClass, const std::string& identifier) const;

private:
    struct Segue {
        std::string destination;
        SegueKind kind;
    };
    std::string name_;
    std::map<std::string, Factory> screens_;
    std::map<std::pair<std::string, std::string>, Segue> segues_;
    std::optional<std::string> initial_;
};

}  // namespace kelpa::platform::ui
