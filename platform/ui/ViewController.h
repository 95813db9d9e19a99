#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelpa::platform::ui {

class NavigationController;
class Storyboard;
class StoryboardSegue;
class TabBarController;
class Window;

enum class ModalPresentationStyle { fullScreen = 0, pageSheet = 1, formSheet = 2, currentContext = 3 };

// One screen. Its view is made on first use (loadView, then viewDidLoad), so fields handed
// over before that are there when viewDidLoad runs. Containers and the window tell it when it
// appears and disappears.
class ViewController : public std::enable_shared_from_this<ViewController> {
public:
    using Completion = std::function<void()>;
    using Observer = std::function<void()>;

    ViewController();
    virtual ~ViewController();
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The screen's class as renderers know it ("AuthViewController").
    virtual const char* className() const { return "ViewController"; }

    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return static_cast<bool>(view_); }
    void loadViewIfNeeded() { view(); }

    // The lifecycle. Subclasses call the base first.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    // A touch on the screen outside any control.
    virtual void touchesBegan() {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title);

    // Where the screen sits.
    ViewController* parentViewController() const { return parent_; }
    NavigationController* navigationController() const;
    TabBarController* tabBarController() const;
    Window* window() const;
    const std::shared_ptr<Storyboard>& storyboard() const { return storyboard_; }
    void setStoryboard(std::shared_ptr<Storyboard> storyboard) { storyboard_ = std::move(storyboard); }
    // In the window's visible chain: the front-most screen or a container holding it.
    bool isOnScreen() const;
    bool isAppeared() const { return appearance_ == Appearance::shown; }

    // Modal screens. Presenting always lands on top of what the window shows: a screen that is
    // not on screen (a tab in the background, say) presents over the front-most screen.
    void presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                               Completion completion = nullptr);
    // Dismisses what this screen presents, or this screen when it presents nothing.
    void dismissViewControllerAnimated(bool animated, Completion completion = nullptr);
    const std::shared_ptr<ViewController>& presentedViewController() const { return presented_; }
    ViewController* presentingViewController() const { return presenting_; }
    ModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
    void setModalPresentationStyle(ModalPresentationStyle style) { presentationStyle_ = style; }
    // Whether the last presentation or dismissal of this screen was animated.
    bool lastTransitionAnimated() const { return lastTransitionAnimated_; }

    // Storyboard segues. Controls laid out to fire one ask shouldPerform first; code that
    // calls performSegueWithIdentifier does not.
    virtual bool shouldPerformSegueWithIdentifier(const std::string& /*identifier*/, View* /*sender*/) {
        return true;
    }
    virtual void prepareForSegue(StoryboardSegue& /*segue*/, View* /*sender*/) {}
    void performSegueWithIdentifier(const std::string& identifier, View* sender);
    // What a control laid out with a segue does when touched.
    void triggerSegue(const std::string& identifier, View* sender);

    // Whether the screen below stays hidden while this one is presented (an alert does not).
    virtual bool coversPresenter() const { return true; }

    // The screens this one shows inside itself right now (a navigation stack's top, the
    // selected tab).
    virtual std::vector<ViewController*> visibleChildren() const { return {}; }

    // Structural changes (title, presentation, navigation) for renderers.
    void observe(Observer observer) { observers_.push_back(std::move(observer)); }

protected:
    // This screen as one of the delegate interfaces it implements, held weakly.
    template <class T>
    std::weak_ptr<T> weakAs() {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
    // Lays a button out to fire a segue.
    void connectSegue(const std::shared_ptr<class Button>& button, const std::string& identifier);
    void notifyChanged();

private:
    friend class NavigationController;
    friend class TabBarController;
    friend class Window;

    void setParent(ViewController* parent) { parent_ = parent; }
    // Appearance of this screen and the screens it shows inside itself.
    void beginAppearance(bool appearing, bool animated);
    void endAppearance(bool appearing, bool animated);
    ViewController* presentationRoot();  // the screen at the bottom of this one's containers
    // Lets go of everything this screen presents, top first (the window does it when it lets
    // go of its screens, so an alert whose action holds its screen cannot keep both alive).
    void releasePresentations();
    ViewController* topOfPresentations();

    std::shared_ptr<View> view_;
    std::string title_;
    ViewController* parent_ = nullptr;
    Window* window_ = nullptr;  // set on the root screen only
    std::shared_ptr<Storyboard> storyboard_;
    std::shared_ptr<ViewController> presented_;
    ViewController* presenting_ = nullptr;
    ModalPresentationStyle presentationStyle_ = ModalPresentationStyle::fullScreen;
    bool lastTransitionAnimated_ = false;
    enum class Appearance { hidden, appearing, shown, disappearing };
    Appearance appearance_ = Appearance::hidden;
    std::vector<Observer> observers_;
};

}  // namespace kelpa::platform::ui
