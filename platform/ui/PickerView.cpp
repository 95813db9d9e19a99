#include "platform/ui/PickerView.h"

namespace kelpa::platform::ui {

void PickerView::setDataSource(std::weak_ptr<PickerViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    reloadAllComponents();
}

void PickerView::setDelegate(std::weak_ptr<PickerViewDelegate> delegate) {
    delegate_ = std::move(delegate);
    reloadAllComponents();
}

void PickerView::reloadAllComponents() {
    auto dataSource = dataSource_.lock();
    auto delegate = delegate_.lock();
    titles_.clear();
    if (dataSource && delegate) {
        const int components = dataSource->numberOfComponentsInPickerView(*this);
        for (int c = 0; c < components; ++c) {
            std::vector<std::string> rows;
            const int count = dataSource->numberOfRowsInComponent(*this, c);
            for (int r = 0; r < count; ++r) rows.push_back(delegate->titleForRow(*this, r, c));
            titles_.push_back(std::move(rows));
        }
    }
    selected_.resize(titles_.size(), 0);
    for (size_t c = 0; c < titles_.size(); ++c) {
        if (selected_[c] >= static_cast<int>(titles_[c].size())) selected_[c] = 0;
    }
    changed();
}

const std::vector<std::string>& PickerView::titles(int component) const {
    static const std::vector<std::string> none;
    if (component < 0 || component >= numberOfComponents()) return none;
    return titles_[component];
}

int PickerView::selectedRowInComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) return -1;
    return titles_[component].empty() ? -1 : selected_[component];
}

void PickerView::selectRow(int row, int inComponent) {
    if (inComponent < 0 || inComponent >= numberOfComponents()) return;
    if (row < 0 || row >= static_cast<int>(titles_[inComponent].size())) return;
    if (selected_[inComponent] == row) return;
    selected_[inComponent] = row;
    changed();
}

void PickerView::pickRow(int row, int inComponent) {
    if (inComponent < 0 || inComponent >= numberOfComponents()) return;
    if (row < 0 || row >= static_cast<int>(titles_[inComponent].size())) return;
    selectRow(row, inComponent);
    if (auto delegate = delegate_.lock()) delegate->didSelectRow(*this, row, inComponent);
}

}  // namespace kelpa::platform::ui
