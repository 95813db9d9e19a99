#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace kelpa::platform::ui {

class PickerView;

// The picker asks its data source and delegate for everything it shows.
class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponentsInPickerView(PickerView& pickerView) = 0;
    virtual int numberOfRowsInComponent(PickerView& pickerView, int component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string titleForRow(PickerView& pickerView, int row, int forComponent) = 0;
    virtual void didSelectRow(PickerView&, int /*row*/, int /*inComponent*/) {}
};

class PickerView : public View {
public:
    using View::View;
    const char* kind() const override { return "PickerView"; }

    void setDataSource(std::weak_ptr<PickerViewDataSource> dataSource);
    void setDelegate(std::weak_ptr<PickerViewDelegate> delegate);
    // Asks the data source and delegate again.
    void reloadAllComponents();

    int numberOfComponents() const { return static_cast<int>(titles_.size()); }
    const std::vector<std::string>& titles(int component) const;
    int selectedRowInComponent(int component) const;
    // By code: no delegate call.
    void selectRow(int row, int inComponent);
    // A person's choice: selects and tells the delegate.
    void pickRow(int row, int inComponent);

private:
    std::weak_ptr<PickerViewDataSource> dataSource_;
    std::weak_ptr<PickerViewDelegate> delegate_;
    std::vector<std::vector<std::string>> titles_;
    std::vector<int> selected_;
};

}  // namespace kelpa::platform::ui
