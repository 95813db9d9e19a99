#include "gui/adapters/WidgetAdapterFactory.h"

#include "gui/adapters/ActivityIndicatorAdapter.h"
#include "gui/adapters/ButtonAdapter.h"
#include "gui/adapters/DatePickerAdapter.h"
#include "gui/adapters/ImageViewAdapter.h"
#include "gui/adapters/LabelAdapter.h"
#include "gui/adapters/MapViewAdapter.h"
#include "gui/adapters/PickerViewAdapter.h"
#include "gui/adapters/SegmentedControlAdapter.h"
#include "gui/adapters/TableViewAdapter.h"
#include "gui/adapters/TextFieldAdapter.h"
#include "platform/maps/MapView.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

namespace kelpa::gui {

namespace ui = platform::ui;

WidgetAdapter* WidgetAdapterFactory::make(const std::shared_ptr<ui::View>& view, QObject* parent) {
    ui::View* v = view.get();
    if (dynamic_cast<ui::Label*>(v)) return new LabelAdapter(view, parent);
    if (dynamic_cast<ui::Button*>(v)) return new ButtonAdapter(view, parent);
    if (dynamic_cast<ui::TextField*>(v)) return new TextFieldAdapter(view, parent);
    if (dynamic_cast<ui::ActivityIndicatorView*>(v)) return new ActivityIndicatorAdapter(view, parent);
    if (dynamic_cast<ui::SegmentedControl*>(v)) return new SegmentedControlAdapter(view, parent);
    if (dynamic_cast<ui::PickerView*>(v)) return new PickerViewAdapter(view, parent);
    if (dynamic_cast<ui::DatePicker*>(v)) return new DatePickerAdapter(view, parent);
    if (dynamic_cast<ui::ImageView*>(v)) return new ImageViewAdapter(view, parent);
    if (dynamic_cast<ui::TableView*>(v)) return new TableViewAdapter(view, parent);
    if (dynamic_cast<platform::MapView*>(v)) return new MapViewAdapter(view, parent);
    return new WidgetAdapter(view, parent);
}

}  // namespace kelpa::gui
