#include "platform/maps/AnnotationView.h"

namespace kelpa::platform {

AnnotationView::AnnotationView(std::shared_ptr<Annotation> annotation, std::optional<std::string> reuseIdentifier)
    : annotation_(std::move(annotation)), reuseIdentifier_(std::move(reuseIdentifier)) {}

void AnnotationView::setCanShowCallout(bool canShowCallout) {
    if (canShowCallout_ == canShowCallout) return;
    canShowCallout_ = canShowCallout;
    changed();
}

void AnnotationView::setLeftCalloutAccessoryView(std::shared_ptr<ui::View> view) {
    if (leftAccessory_ == view) return;
    leftAccessory_ = std::move(view);
    changed();
}

void AnnotationView::setRightCalloutAccessoryView(std::shared_ptr<ui::View> view) {
    if (rightAccessory_ == view) return;
    rightAccessory_ = std::move(view);
    changed();
}

void AnnotationView::setSelected(bool selected, bool) {
    if (selected_ == selected) return;
    selected_ = selected;
    changed();
}

bool AnnotationView::isShowingCallout() const {
    if (!selected_ || !canShowCallout_ || !annotation_) return false;
    auto title = annotation_->title();
    return title && !title->empty();
}

void AnnotationView::setImage(ImagePtr image) {
    if (image_ == image) return;
    image_ = std::move(image);
    changed();
}

std::string AnnotationView::ownTitle() const {
    if (!annotation_) return {};
    return annotation_->title().value_or(std::string());
}

}  // namespace kelpa::platform
