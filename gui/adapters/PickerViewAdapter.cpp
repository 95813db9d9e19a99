#include "gui/adapters/PickerViewAdapter.h"

#include "platform/ui/PickerView.h"

#include <QStringList>
#include <QVariantMap>

namespace kelpa::gui {

using platform::ui::PickerView;

QVariantList PickerViewAdapter::columns() const {
    QVariantList list;
    auto picker = as<PickerView>();
    if (!picker) return list;
    for (int component = 0; component < picker->numberOfComponents(); ++component) {
        QStringList titles;
        for (const auto& title : picker->titles(component)) titles << QString::fromStdString(title);
        list << QVariantMap{{"titles", titles}, {"selected", picker->selectedRowInComponent(component)}};
    }
    return list;
}

bool PickerViewAdapter::pick(int row, int component) {
    auto picker = as<PickerView>();
    if (!picker || !usable() || component < 0 || component >= picker->numberOfComponents() || row < 0 ||
        row >= static_cast<int>(picker->titles(component).size())) {
        return false;
    }
    picker->pickRow(row, component);
    return true;
}

}  // namespace kelpa::gui
