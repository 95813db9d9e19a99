#pragma once

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <memory>
#include <optional>
#include <string>

namespace kelpa::platform::ui {

// One row of a table, in one of the phone's standard styles.
class TableViewCell : public View {
public:
    enum class Style { defaultStyle, value1, value2, subtitle };
    enum class AccessoryType { none, disclosureIndicator, detailDisclosureButton, checkmark };

    TableViewCell(Style style, std::optional<std::string> reuseIdentifier);
    ~TableViewCell() override;
    static std::shared_ptr<TableViewCell> initWithStyle(Style style, std::optional<std::string> reuseIdentifier) {
        return std::make_shared<TableViewCell>(style, std::move(reuseIdentifier));
    }
    const char* kind() const override { return "TableViewCell"; }

    Style style() const { return style_; }
    const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
    Label& textLabel() { return *textLabel_; }
    const Label& textLabel() const { return *textLabel_; }
    // None for the default style, which has no detail line.
    Label* detailTextLabel() { return detailTextLabel_.get(); }
    const Label* detailTextLabel() const { return detailTextLabel_.get(); }
    ImageView& imageView() { return *imageView_; }
    const ImageView& imageView() const { return *imageView_; }

    AccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(AccessoryType type);
    const std::shared_ptr<View>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<View> view);

    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    // Asks for the cell to be laid out again (after a late image, say).
    void setNeedsLayout() { changed(); }
    void layoutSubviews() { changed(); }

private:
    Style style_;
    std::optional<std::string> reuseIdentifier_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
    std::shared_ptr<ImageView> imageView_;
    AccessoryType accessoryType_ = AccessoryType::none;
    std::shared_ptr<View> accessoryView_;
    View::ObserverId accessoryObserver_ = 0;
    bool selected_ = false;
};

}  // namespace kelpa::platform::ui
