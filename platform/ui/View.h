#pragma once

#include "platform/ui/Geometry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelpa::platform::ui {

// The model of one thing on screen. It holds its state and tells observers whenever that
// changes; it draws nothing. A renderer (the Qt front end) or a test Driver reads it, and
// turns touches into the same calls a screen's code makes. All of it lives on the main queue.
class View : public std::enable_shared_from_this<View> {
public:
    using Observer = std::function<void()>;
    using ObserverId = std::uint64_t;

    // `name` is the field name the screen knows the view by ("email"); renderers and tests
    // find views by it.
    explicit View(std::string name = {});
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // What kind of widget this is ("Label", "Button", ...), for renderers.
    virtual const char* kind() const { return "View"; }
    const std::string& name() const { return name_; }

    // Hierarchy.
    void addSubview(std::shared_ptr<View> view);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<View>& view);
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    View* superview() const { return superview_; }
    // The first view with this name in this view's tree (itself included), depth first.
    std::shared_ptr<View> viewNamed(std::string_view name);
    template <class T>
    std::shared_ptr<T> find(std::string_view name) {
        return std::dynamic_pointer_cast<T>(viewNamed(name));
    }

    // State every view has.
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const Rect& frame() const { return frame_; }
    void setFrame(const Rect& frame);
    // The middle of the frame; setting it moves the frame and keeps its size.
    Point center() const { return {frame_.x + frame_.width / 2, frame_.y + frame_.height / 2}; }
    void setCenter(const Point& center);
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    const Transform& transform() const { return transform_; }
    void setTransform(const Transform& transform);
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled);

    // The name assistive technology reads: the label set, else the view's own title (a
    // button's or a field's placeholder), else its field name.
    std::string accessibleName() const;
    void setAccessibilityLabel(std::string label);

    // Ends editing in this view's tree: the field being edited, if any, stops editing.
    // Returns whether one did.
    bool endEditing(bool force = true);

    // Runs `changes` as one animated change of the given length. Without a renderer the new
    // state is there at once; a renderer may animate towards it.
    static void animateWithDuration(double duration, const std::function<void()>& changes,
                                    const std::function<void(bool finished)>& completion = nullptr);
    enum class AnimationCurve { easeInOut, easeIn, easeOut, linear };
    struct Animation {
        double duration = 0;
        double delay = 0;
        AnimationCurve curve = AnimationCurve::easeInOut;
    };
    static void animateWithDuration(double duration, double delay, AnimationCurve curve,
                                    const std::function<void()>& changes,
                                    const std::function<void(bool finished)>& completion = nullptr);
    // The animation whose changes are being made right now, for a renderer (or a test) that
    // hears of a change; none outside one.
    static const Animation* currentAnimation();

    ObserverId observe(Observer observer);
    void unobserve(ObserverId id);

    // Tells observers the view changed (subclasses call it from their setters).
    void changed();

protected:
    virtual std::string ownTitle() const { return {}; }
    // A text field ends its own editing here; containers pass it on.
    virtual bool resignEditing() { return false; }

private:
    std::string name_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    bool hidden_ = false;
    Rect frame_;
    double alpha_ = 1;
    Transform transform_;
    double cornerRadius_ = 0;
    bool clipsToBounds_ = false;
    bool userInteractionEnabled_ = true;
    std::string accessibilityLabel_;
    std::map<ObserverId, Observer> observers_;
    ObserverId nextObserver_ = 1;
};

}  // namespace kelpa::platform::ui
