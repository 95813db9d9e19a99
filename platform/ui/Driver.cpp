#include "platform/ui/Driver.h"

#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

namespace kelpa::platform::ui {

namespace {
bool usable(const std::shared_ptr<View>& view) {
    if (!view) return false;
    for (View* v = view.get(); v; v = v->superview()) {
        if (v->isHidden()) return false;
    }
    auto* control = dynamic_cast<Control*>(view.get());
    return !control || control->isEnabled();
}
}  // namespace

Driver::Driver(std::shared_ptr<Window> window) : window_(std::move(window)) {}

std::shared_ptr<ViewController> Driver::rootViewController() const { return window_->rootViewController(); }

ViewController* Driver::frontmost() const { return window_->frontmostViewController(); }

std::string Driver::frontmostClass() const {
    auto* v = frontmost();
    return v ? v->className() : "";
}

NavigationController* Driver::navigationController() const {
    // Below an alert, the screen it stands over.
    ViewController* v = frontmost();
    if (dynamic_cast<AlertController*>(v) && v->presentingViewController()) {
        v = v->presentingViewController();
        while (!v->visibleChildren().empty()) v = v->visibleChildren().back();
    }
    if (!v) return nullptr;
    if (auto* navigation = dynamic_cast<NavigationController*>(v)) return navigation;
    return v->navigationController();
}

std::vector<std::string> Driver::navigationStack() const {
    std::vector<std::string> names;
    if (auto* navigation = navigationController()) {
        for (const auto& controller : navigation->viewControllers()) names.emplace_back(controller->className());
    }
    return names;
}

AlertController* Driver::alert() const { return dynamic_cast<AlertController*>(window_->topPresentedViewController()); }

std::optional<std::string> Driver::alertTitle() const {
    if (auto* a = alert()) return a->title();
    return std::nullopt;
}

std::optional<std::string> Driver::alertMessage() const {
    if (auto* a = alert()) return a->message();
    return std::nullopt;
}

std::vector<std::string> Driver::alertActions() const {
    std::vector<std::string> titles;
    if (auto* a = alert()) {
        for (const auto& action : a->actions()) titles.push_back(action->title());
    }
    return titles;
}

std::shared_ptr<View> Driver::widget(const std::string& name) const {
    ViewController* v = frontmost();
    // Alerts stand over a screen whose widgets are still there to read.
    if (dynamic_cast<AlertController*>(v) && v->presentingViewController()) {
        v = v->presentingViewController();
        while (!v->visibleChildren().empty()) v = v->visibleChildren().back();
    }
    if (!v) return nullptr;
    return v->view()->viewNamed(name);
}

std::string Driver::text(const std::string& name) const {
    auto view = widget(name);
    if (auto* label = dynamic_cast<Label*>(view.get())) return label->text();
    if (auto* field = dynamic_cast<TextField*>(view.get())) return field->text();
    if (auto* button = dynamic_cast<Button*>(view.get())) return button->titleForState();
    return {};
}

bool Driver::isVisible(const std::string& name) const {
    auto view = widget(name);
    if (!view) return false;
    for (View* v = view.get(); v; v = v->superview()) {
        if (v->isHidden()) return false;
    }
    return true;
}

bool Driver::isEnabled(const std::string& name) const {
    auto* control = dynamic_cast<Control*>(widget(name).get());
    return control && control->isEnabled();
}

std::vector<std::string> Driver::rows(const std::string& table) const {
    std::vector<std::string> texts;
    auto tableView = find<TableView>(table);
    if (!tableView) return texts;
    for (const auto& path : tableView->indexPathsForVisibleRows()) {
        auto cell = tableView->cellForRowAtIndexPath(path);
        std::string row = cell->textLabel().text();
        if (const auto* detail = cell->detailTextLabel(); detail && !detail->text().empty()) row += " | " + detail->text();
        if (cell->accessoryType() == TableViewCell::AccessoryType::checkmark) row += " \u2713";
        texts.push_back(std::move(row));
    }
    return texts;
}

bool Driver::tap(const std::string& name) {
    auto button = find<Button>(name);
    if (!usable(button)) return false;
    button->tap();
    return true;
}

bool Driver::type(const std::string& name, const std::string& text) {
    auto field = find<TextField>(name);
    if (!usable(field)) return false;
    field->becomeFirstResponder();
    field->setText(text);
    return true;
}

void Driver::tapOutside() {
    if (auto* v = frontmost()) v->touchesBegan();
}

bool Driver::selectSegment(const std::string& name, int index) {
    auto control = find<SegmentedControl>(name);
    if (!usable(control) || index < 0 || index >= static_cast<int>(control->segments().size())) return false;
    control->tapSegment(index);
    return true;
}

bool Driver::pickRow(const std::string& name, int row, int component) {
    auto picker = find<PickerView>(name);
    if (!usable(picker) || row < 0 || row >= static_cast<int>(picker->titles(component).size())) return false;
    picker->pickRow(row, component);
    return true;
}

bool Driver::pickDate(const std::string& name, std::chrono::system_clock::time_point date) {
    auto picker = find<DatePicker>(name);
    if (!usable(picker)) return false;
    picker->pickDate(date);
    return true;
}

bool Driver::tapRow(const std::string& table, int row, int section) {
    auto tableView = find<TableView>(table);
    if (!usable(tableView) || !tableView->cellForRowAtIndexPath({section, row})) return false;
    tableView->tapRow({section, row});
    return true;
}

bool Driver::deleteRow(const std::string& table, int row, int section) {
    auto tableView = find<TableView>(table);
    return usable(tableView) && tableView->deleteRow({section, row});
}

bool Driver::pullToRefresh(const std::string& table) {
    auto tableView = find<TableView>(table);
    if (!usable(tableView) || !tableView->refreshControl()) return false;
    tableView->refreshControl()->pull();
    return true;
}

bool Driver::chooseAlertAction(const std::string& title) {
    auto* a = alert();
    return a && a->choose(title);
}

bool Driver::goBack() {
    auto* navigation = navigationController();
    if (!navigation || navigation->viewControllers().size() < 2 || alert()) return false;
    navigation->goBack();
    return true;
}

bool Driver::pickTab(int index) {
    ViewController* v = window_->topPresentedViewController();
    while (v && !dynamic_cast<TabBarController*>(v)) {
        auto children = v->visibleChildren();
        v = children.empty() ? nullptr : children.back();
    }
    auto* tabs = dynamic_cast<TabBarController*>(v);
    if (!tabs || index < 0 || index >= static_cast<int>(tabs->viewControllers().size())) return false;
    tabs->setSelectedIndex(index);
    return true;
}

bool Driver::pickImage(std::shared_ptr<const Image> image) {
    auto* picker = dynamic_cast<ImagePickerController*>(window_->topPresentedViewController());
    if (!picker) return false;
    picker->finishPicking(std::move(image));
    return true;
}

bool Driver::cancelImagePicker() {
    auto* picker = dynamic_cast<ImagePickerController*>(window_->topPresentedViewController());
    if (!picker) return false;
    picker->cancel();
    return true;
}

}  // namespace kelpa::platform::ui
