#pragma once

#include "platform/Image.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/View.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform::ui {

class NavigationController;
class TableView;
class ViewController;
class Window;

// Acts on the screens as a person would, and reads what a person would see. Widgets are found
// by their field name on the front-most screen. Every act happens at once on the calling (main)
// thread; what it starts in the background is the caller's to wait for.
class Driver {
public:
    explicit Driver(std::shared_ptr<Window> window);

    Window& window() const { return *window_; }

    // Reading.
    std::shared_ptr<ViewController> rootViewController() const;
    ViewController* frontmost() const;
    std::string frontmostClass() const;
    // The class names of the navigation stack that holds the front-most screen, bottom first.
    std::vector<std::string> navigationStack() const;
    NavigationController* navigationController() const;
    // The front-most alert, if one is up.
    AlertController* alert() const;
    std::optional<std::string> alertTitle() const;
    std::optional<std::string> alertMessage() const;
    std::vector<std::string> alertActions() const;

    // The widget on the front-most screen, or none.
    std::shared_ptr<View> widget(const std::string& name) const;
    template <class T>
    std::shared_ptr<T> find(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(widget(name));
    }
    // What a label, field or button shows.
    std::string text(const std::string& name) const;
    bool isVisible(const std::string& name) const;
    bool isEnabled(const std::string& name) const;
    // Rows of a table as "title" or "title | detail", with " ✓" for a checkmark.
    std::vector<std::string> rows(const std::string& table) const;

    // Acting. Each returns false when the widget is missing, hidden or disabled.
    bool tap(const std::string& button);
    bool type(const std::string& field, const std::string& text);
    // A touch outside any control: ends editing, as the screen decides.
    void tapOutside();
    bool selectSegment(const std::string& control, int index);
    bool pickRow(const std::string& picker, int row, int component = 0);
    bool pickDate(const std::string& picker, std::chrono::system_clock::time_point date);
    bool tapRow(const std::string& table, int row, int section = 0);
    bool deleteRow(const std::string& table, int row, int section = 0);
    bool pullToRefresh(const std::string& table);
    bool chooseAlertAction(const std::string& title);
    bool goBack();
    bool pickTab(int index);
    // The image picker on top: picks a picture, or cancels.
    bool pickImage(std::shared_ptr<const Image> image);
    bool cancelImagePicker();

private:
    std::shared_ptr<Window> window_;
};

}  // namespace kelpa::platform::ui
