#include "gui/WidgetGalleryViewController.h"

#include "platform/maps/MapView.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PointAnnotation.h"
#include "platform/maps/Polyline.h"
#include "platform/maps/PolylineView.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TextField.h"

namespace kelpa::gui {

namespace ui = platform::ui;

namespace {
std::shared_ptr<const platform::Image> swatch(int size, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    auto image = std::make_shared<platform::Image>();
    image->width = size;
    image->height = size;
    for (int i = 0; i < size * size; ++i) image->rgba.insert(image->rgba.end(), {red, green, blue, 255});
    return image;
}

// A map delegate that pins members green and waypoints red with a details button.
class GalleryMapDelegate : public platform::MapViewDelegate {
public:
    std::shared_ptr<platform::AnnotationView> viewForAnnotation(platform::MapView&,
                                                               const std::shared_ptr<platform::Annotation>& a) override {
        if (!std::dynamic_pointer_cast<platform::PointAnnotation>(a)) return nullptr;
        auto pin = std::make_shared<platform::PinAnnotationView>(a, std::nullopt);
        pin->setCanShowCallout(true);
        const bool member = a->title().value_or("") == "Anna";
        pin->setPinColor(member ? platform::PinAnnotationView::green : platform::PinAnnotationView::red);
        if (member) pin->setLeftCalloutAccessoryView(std::make_shared<ui::ImageView>(swatch(30, 0x26, 0xa6, 0x9a)));
        else pin->setRightCalloutAccessoryView(std::make_shared<ui::Button>("details", ui::Button::Type::detailDisclosure));
        return pin;
    }
    std::shared_ptr<platform::OverlayView> viewForOverlay(platform::MapView&,
                                                          const std::shared_ptr<platform::Overlay>& overlay) override {
        auto line = std::make_shared<platform::PolylineView>(std::dynamic_pointer_cast<platform::Polyline>(overlay));
        line->setLineWidth(6);
        line->setStrokeColor({55 / 255.0, 168 / 255.0, 219 / 255.0, 1});
        return line;
    }
};
}  // namespace

void WidgetGalleryViewController::loadView() {
    ViewController::loadView();
    setTitle("Widgets");
    auto& root = *view();
    auto label = std::make_shared<ui::Label>("label");
    label->setText("A label that is long enough to wrap onto a second line at the width of a phone.");
    root.addSubview(label);
    auto field = std::make_shared<ui::TextField>("field");
    field->setPlaceholder("A text field");
    root.addSubview(field);
    auto secret = std::make_shared<ui::TextField>("secret");
    secret->setPlaceholder("A secret");
    secret->setSecureTextEntry(true);
    secret->setText("hidden");
    root.addSubview(secret);
    auto button = std::make_shared<ui::Button>("button");
    button->setTitle("A button");
    root.addSubview(button);
    auto disabled = std::make_shared<ui::Button>("disabled");
    disabled->setTitle("A disabled button");
    disabled->setEnabled(false);
    root.addSubview(disabled);
    auto check = std::make_shared<ui::Button>("check", ui::Button::Type::checkBox);
    check->setTitle("X");
    check->setAccessibilityLabel("A check box");
    root.addSubview(check);
    root.addSubview(std::make_shared<ui::Button>("info", ui::Button::Type::detailDisclosure));
    auto segments = std::make_shared<ui::SegmentedControl>("segments", std::vector<std::string>{"Off", "On"});
    segments->setSelectedSegmentIndex(1);
    root.addSubview(segments);
    auto picker = std::make_shared<ui::PickerView>("picker");
    root.addSubview(picker);
    auto date = std::make_shared<ui::DatePicker>("date");
    root.addSubview(date);
    auto image = std::make_shared<ui::ImageView>("image");
    image->setImage(swatch(96, 0x00, 0x69, 0x5c));
    image->setCornerRadius(48);
    root.addSubview(image);
    root.addSubview(std::make_shared<ui::ActivityIndicatorView>("busy"));
    auto table = std::make_shared<ui::TableView>("table");
    table->setRefreshControl(std::make_shared<ui::RefreshControl>("refresh"));
    root.addSubview(table);
    root.addSubview(std::make_shared<platform::MapView>("map"));
}

void WidgetGalleryViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    auto picker = view()->find<ui::PickerView>("picker");
    picker->setDataSource(weakAs<ui::PickerViewDataSource>());
    picker->setDelegate(weakAs<ui::PickerViewDelegate>());
    picker->reloadAllComponents();
    auto table = view()->find<ui::TableView>("table");
    table->setDataSource(weakAs<ui::TableViewDataSource>());
    table->reloadData();
    table->selectRowAtIndexPath({0, 1});

    auto map = view()->find<platform::MapView>("map");
    mapDelegate_ = std::make_shared<GalleryMapDelegate>();
    map->setDelegate(mapDelegate_);
    map->setRegion(platform::CoordinateRegionMake({52.52, 13.40}, {0.08, 0.08}), false);
    auto member = std::make_shared<platform::PointAnnotation>(platform::LocationCoordinate2D{52.53, 13.38}, "Anna",
                                                               "Seen 2 minutes ago");
    auto waypoint = std::make_shared<platform::PointAnnotation>(platform::LocationCoordinate2D{52.51, 13.42}, "Waypoint 1");
    map->addAnnotations({member, waypoint});
    map->addOverlay(platform::Polyline::polylineWithCoordinates({{52.535, 13.37}, {52.525, 13.39}, {52.51, 13.42}}));
    map->setShowsUserLocation(true);
    platform::Location fix;
    fix.coordinate = {52.515, 13.39};
    map->setUserLocationFix(fix);
    map->selectAnnotation(waypoint, false);
}

int WidgetGalleryViewController::numberOfRowsInSection(ui::TableView&, int) { return 4; }

std::shared_ptr<ui::TableViewCell> WidgetGalleryViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                     const ui::IndexPath& indexPath) {
    static const ui::TableViewCell::Style styles[] = {ui::TableViewCell::Style::defaultStyle,
                                                      ui::TableViewCell::Style::value1,
                                                      ui::TableViewCell::Style::subtitle,
                                                      ui::TableViewCell::Style::subtitle};
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(styles[indexPath.row % 4], "Cell");
    cell->textLabel().setText("Row " + std::to_string(indexPath.row + 1));
    if (auto* detail = cell->detailTextLabel()) detail->setText("Detail " + std::to_string(indexPath.row + 1));
    if (indexPath.row == 2) cell->imageView().setImage(swatch(40, 0xff, 0x98, 0x00));
    if (indexPath.row == 1) cell->setAccessoryType(ui::TableViewCell::AccessoryType::checkmark);
    if (indexPath.row == 3) cell->setAccessoryView(std::make_shared<ui::ImageView>(swatch(30, 0x5c, 0x6b, 0xc0)));
    return cell;
}

bool WidgetGalleryViewController::canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
    return indexPath.row > 0;
}

std::string WidgetGalleryViewController::titleForRow(ui::PickerView&, int row, int) {
    static const char* titles[] = {"car", "bike", "pedestrian"};
    return titles[row % 3];
}

}  // namespace kelpa::gui
