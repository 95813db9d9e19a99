#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace kelpa {

class Group;

// The first step of planning a group: its description, its travel mode, and whether the next
// step also looks for users nearby over Bluetooth. It makes the group that the later steps fill.
class AddDetailsToGroupViewController : public platform::ui::ViewController,
                                        public platform::ui::PickerViewDataSource,
                                        public platform::ui::PickerViewDelegate {
public:
    static constexpr const char* kMembersSegue = "fromDetailsToMembers";
    // The check box's title while ticked.
    static constexpr const char* kChecked = "X";

    const char* className() const override { return "AddDetailsToGroupViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void touchesBegan() override;
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, platform::ui::View* sender) override;
    void prepareForSegue(platform::ui::StoryboardSegue& segue, platform::ui::View* sender) override;

    void bluetoothClicked(platform::ui::Button& sender);

    int numberOfComponentsInPickerView(platform::ui::PickerView& pickerView) override;
    int numberOfRowsInComponent(platform::ui::PickerView& pickerView, int component) override;
    std::string titleForRow(platform::ui::PickerView& pickerView, int row, int forComponent) override;
    void didSelectRow(platform::ui::PickerView& pickerView, int row, int inComponent) override;

    std::vector<std::string> pickerData;
    std::shared_ptr<Group> group;

    std::shared_ptr<platform::ui::TextField> groupTitle;
    std::shared_ptr<platform::ui::PickerView> type;
    std::shared_ptr<platform::ui::Button> bluetooth;
    std::shared_ptr<platform::ui::Button> next;
};

}  // namespace kelpa
