import QtQuick
import QtQuick.Layouts

// Any widget, drawn by the component for its kind (the generic page lays screens out with it).
Loader {
    id: widget
    property QtObject adapter
    // Controls of their own size (a check box, a round button, a spinner, a picture) keep it.
    readonly property bool stretches: ["Label", "TextField", "SegmentedControl", "PickerView", "DatePicker", "TableView",
                                       "MapView"].indexOf(adapter.kind) >= 0
                                      || (adapter.kind === "Button" && adapter.buttonType === "system")
    visible: adapter.visible
    Layout.fillWidth: stretches
    Layout.preferredWidth: item && !stretches ? item.implicitWidth : -1
    Layout.preferredHeight: item ? (adapter.kind === "TableView" ? 320 : adapter.kind === "MapView" ? 260 : item.implicitHeight) : 0

    sourceComponent: {
        switch (adapter.kind) {
        case "Label": return label
        case "Button":
            return adapter.buttonType === "checkBox" ? checkBox : adapter.buttonType === "detailDisclosure" ? detailButton : button
        case "TextField": return textField
        case "ActivityIndicator": return busy
        case "SegmentedControl": return segmented
        case "PickerView": return picker
        case "DatePicker": return datePicker
        case "ImageView": return image
        case "TableView": return table
        case "MapView": return map
        default: return null
        }
    }

    Component { id: label; KLabel { adapter: widget.adapter } }
    Component { id: button; KButton { adapter: widget.adapter } }
    Component { id: checkBox; KCheckBox { adapter: widget.adapter } }
    Component { id: detailButton; KDetailButton { adapter: widget.adapter } }
    Component { id: textField; KTextField { adapter: widget.adapter } }
    Component { id: busy; KBusy { adapter: widget.adapter } }
    Component { id: segmented; KSegmented { adapter: widget.adapter } }
    Component { id: picker; KPicker { adapter: widget.adapter } }
    Component { id: datePicker; KDatePicker { adapter: widget.adapter } }
    Component { id: image; KImage { adapter: widget.adapter } }
    Component { id: table; KTable { adapter: widget.adapter } }
    Component { id: map; TileMap { adapter: widget.adapter } }
}
