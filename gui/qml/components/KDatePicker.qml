import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A date and time as day, month, year, hour and minute, each a spin box, as the mode asks.
GridLayout {
    id: picker
    property QtObject adapter
    readonly property date value: adapter.date
    readonly property bool showsDate: adapter.mode !== "time"
    readonly property bool showsTime: adapter.mode !== "date"
    objectName: adapter.name
    visible: adapter.visible
    enabled: adapter.enabled
    // Two spin boxes a row: a phone is too narrow for three that show a year whole.
    columns: 2
    columnSpacing: 12
    Layout.fillWidth: true

    function choose(day, month, year, hour, minute) {
        adapter.pickDate(new Date(year, month - 1, day, hour, minute))
    }

    component Part: ColumnLayout {
        property alias label: caption.text
        property alias from: box.from
        property alias to: box.to
        property alias value: box.value
        signal picked(int value)
        spacing: 0
        Layout.fillWidth: true
        Label { id: caption; font.pixelSize: 12; opacity: 0.7 }
        SpinBox {
            id: box
            editable: true
            // Plain digits: a year is no amount ("2026", not "2,026").
            textFromValue: function(value) { return value.toString() }
            valueFromText: function(text) { return parseInt(text) }
            Layout.fillWidth: true
            Accessible.name: picker.adapter.accessibleName + " " + caption.text
            onValueModified: parent.picked(value)
        }
    }

    Part {
        visible: picker.showsDate
        label: "Day"; from: 1; to: 31; value: picker.value.getDate()
        onPicked: (v) => picker.choose(v, picker.value.getMonth() + 1, picker.value.getFullYear(), picker.value.getHours(), picker.value.getMinutes())
    }
    Part {
        visible: picker.showsDate
        label: "Month"; from: 1; to: 12; value: picker.value.getMonth() + 1
        onPicked: (v) => picker.choose(picker.value.getDate(), v, picker.value.getFullYear(), picker.value.getHours(), picker.value.getMinutes())
    }
    Part {
        visible: picker.showsDate
        Layout.columnSpan: 2
        Layout.maximumWidth: (picker.width - picker.columnSpacing) / 2
        label: "Year"; from: 1970; to: 2100; value: picker.value.getFullYear()
        onPicked: (v) => picker.choose(picker.value.getDate(), picker.value.getMonth() + 1, v, picker.value.getHours(), picker.value.getMinutes())
    }
    Part {
        visible: picker.showsTime
        label: "Hour"; from: 0; to: 23; value: picker.value.getHours()
        onPicked: (v) => picker.choose(picker.value.getDate(), picker.value.getMonth() + 1, picker.value.getFullYear(), v, picker.value.getMinutes())
    }
    Part {
        visible: picker.showsTime
        label: "Minute"; from: 0; to: 59; value: picker.value.getMinutes()
        onPicked: (v) => picker.choose(picker.value.getDate(), picker.value.getMonth() + 1, picker.value.getFullYear(), picker.value.getHours(), v)
    }
}
