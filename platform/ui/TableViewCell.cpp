#include "platform/ui/TableViewCell.h"

namespace kelpa::platform::ui {

TableViewCell::TableViewCell(Style style, std::optional<std::string> reuseIdentifier)
    : style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)),
      textLabel_(std::make_shared<Label>("textLabel")),
      imageView_(std::make_shared<ImageView>("imageView")) {
    if (style != Style::defaultStyle) detailTextLabel_ = std::make_shared<Label>("detailTextLabel");
    // The parts tell the cell when they change, so one observer of the cell sees everything.
    auto relay = [this] { changed(); };
    textLabel_->observe(relay);
    imageView_->observe(relay);
    if (detailTextLabel_) detailTextLabel_->observe(relay);
}

void TableViewCell::setAccessoryType(AccessoryType type) {
    if (accessoryType_ == type) return;
    accessoryType_ = type;
    changed();
}

TableViewCell::~TableViewCell() {
    if (accessoryView_) accessoryView_->unobserve(accessoryObserver_);
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
    if (accessoryView_ == view) return;
    if (accessoryView_) accessoryView_->unobserve(accessoryObserver_);
    accessoryView_ = std::move(view);
    // Showing or hiding the accessory is a change of the cell.
    if (accessoryView_) accessoryObserver_ = accessoryView_->observe([this] { changed(); });
    changed();
}

void TableViewCell::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    changed();
}

}  // namespace kelpa::platform::ui
