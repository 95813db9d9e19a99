#include "client/groups/AddWaypointsFromAdressViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/location/AddAnnotationsViewController.h"
#include "platform/location/Geocoder.h"
#include "platform/ui/StoryboardSegue.h"

#include <fmt/format.h>

namespace kelpa {

namespace ui = platform::ui;

void AddWaypointsFromAdressViewController::loadView() {
    ViewController::loadView();
    setTitle("Waypoints");
    auto& root = *view();
    adress = ScreenSupport::addField(root, "adress", "Address");
    addButton = std::make_shared<ui::Button>("addButton");
    addButton->setTitle("Add");
    addButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { enterAdress(); });
    root.addSubview(addButton);
    waypointsTableView = std::make_shared<ui::TableView>("waypointsTableView");
    waypointsTableView->setAccessibilityLabel("Waypoints");
    root.addSubview(waypointsTableView);
    next = std::make_shared<ui::Button>("next");
    next->setTitle("Next");
    connectSegue(next, kMapSegue);
    root.addSubview(next);
}

void AddWaypointsFromAdressViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    waypoints.clear();
    waypointsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
}

void AddWaypointsFromAdressViewController::touchesBegan() { view()->endEditing(true); }

void AddWaypointsFromAdressViewController::enterAdress() {
    // Each tap asks on its own; places are added as their answers come in.
    platform::Geocoder::create()->geocodeAddressString(
        adress->text(), [weak = weakAs<AddWaypointsFromAdressViewController>()](
                            std::optional<std::vector<platform::Placemark>> placemarks, std::optional<std::string> error) {
            auto self = weak.lock();
            if (!self || error || !placemarks || placemarks->empty()) return;
            self->waypoints.push_back(placemarks->front());
            self->waypointsTableView->reloadData();
            self->adress->setText("");
        });
}

int AddWaypointsFromAdressViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(waypoints.size());
}

std::shared_ptr<ui::TableViewCell> AddWaypointsFromAdressViewController::cellForRowAtIndexPath(
    ui::TableView& tableView, const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    const auto& place = waypoints.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(fmt::format("{:f} - {:f}", place.coordinate.latitude, place.coordinate.longitude));
    return cell;
}

void AddWaypointsFromAdressViewController::prepareForSegue(ui::StoryboardSegue& segue, ui::View*) {
    if (segue.identifier() != kMapSegue) return;
    if (auto destination = std::dynamic_pointer_cast<AddAnnotationsViewController>(segue.destinationViewController())) {
        destination->users = users;
        destination->group = group;
        destination->placemarks = waypoints;
    }
}

}  // namespace kelpa
