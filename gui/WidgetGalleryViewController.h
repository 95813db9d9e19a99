#pragma once

#include "platform/maps/MapViewDelegate.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace kelpa::gui {

// A screen with one widget of every kind the toolkit has, some rows and a map with pins, a
// route, the device's own position and an open callout. It has no page of its own: the
// self-test shows it through the generic page, so every widget component is loaded once.
class WidgetGalleryViewController : public platform::ui::ViewController,
                                    public platform::ui::TableViewDataSource,
                                    public platform::ui::PickerViewDataSource,
                                    public platform::ui::PickerViewDelegate {
public:
    const char* className() const override { return "WidgetGalleryViewController"; }
    void loadView() override;
    void viewDidLoad() override;

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(platform::ui::TableView& tableView,
                                                                       const platform::ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(platform::ui::TableView&, const platform::ui::IndexPath& indexPath) override;

    int numberOfComponentsInPickerView(platform::ui::PickerView&) override { return 1; }
    int numberOfRowsInComponent(platform::ui::PickerView&, int) override { return 3; }
    std::string titleForRow(platform::ui::PickerView&, int row, int) override;

private:
    std::shared_ptr<platform::MapViewDelegate> mapDelegate_;
};

}  // namespace kelpa::gui
