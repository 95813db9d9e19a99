#pragma once

#include <memory>
#include <string>

namespace kelpa::platform::ui {

class ViewController;

class StoryboardSegue {
public:
    StoryboardSegue(std::string identifier, std::shared_ptr<ViewController> source,
                    std::shared_ptr<ViewController> destination)
        : identifier_(std::move(identifier)), source_(std::move(source)), destination_(std::move(destination)) {}

    const std::string& identifier() const { return identifier_; }
    const std::shared_ptr<ViewController>& sourceViewController() const { return source_; }
    const std::shared_ptr<ViewController>& destinationViewController() const { return destination_; }

private:
    std::string identifier_;
    std::shared_ptr<ViewController> source_;
    std::shared_ptr<ViewController> destination_;
};

}  // namespace kelpa::platform::ui
