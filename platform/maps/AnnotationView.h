#pragma once

#include "platform/maps/Annotation.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>

namespace kelpa::platform {

// The marker a map view shows for an annotation, with the callout it opens when selected.
// Accessories may be set at any time, also after the map has taken the view.
class AnnotationView : public ui::View {
public:
    using ImagePtr = ui::ImageView::ImagePtr;

    AnnotationView(std::shared_ptr<Annotation> annotation, std::optional<std::string> reuseIdentifier);
    const char* kind() const override { return "AnnotationView"; }

    const std::shared_ptr<Annotation>& annotation() const { return annotation_; }
    const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }

    bool canShowCallout() const { return canShowCallout_; }
    void setCanShowCallout(bool canShowCallout);
    const std::shared_ptr<ui::View>& leftCalloutAccessoryView() const { return leftAccessory_; }
    void setLeftCalloutAccessoryView(std::shared_ptr<ui::View> view);
    const std::shared_ptr<ui::View>& rightCalloutAccessoryView() const { return rightAccessory_; }
    void setRightCalloutAccessoryView(std::shared_ptr<ui::View> view);

    // Set by the map view as annotations are selected and deselected.
    bool isSelected() const { return selected_; }
    void setSelected(bool selected, bool animated = false);
    // The callout is open: selected, allowed to show one, and there is a title to show.
    bool isShowingCallout() const;

    // A picture drawn instead of the default marker; none for the default.
    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image);

protected:
    std::string ownTitle() const override;

private:
    std::shared_ptr<Annotation> annotation_;
    std::optional<std::string> reuseIdentifier_;
    bool canShowCallout_ = false;
    std::shared_ptr<ui::View> leftAccessory_;
    std::shared_ptr<ui::View> rightAccessory_;
    bool selected_ = false;
    ImagePtr image_;
};

}  // namespace kelpa::platform
