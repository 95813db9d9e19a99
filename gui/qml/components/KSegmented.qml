import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Segments side by side; the selected one is highlighted.
RowLayout {
    id: row
    property QtObject adapter
    objectName: adapter.name
    visible: adapter.visible
    enabled: adapter.enabled
    spacing: 4
    Layout.fillWidth: true

    Repeater {
        model: row.adapter.segments.length
        KelpaButton {
            required property int index
            objectName: row.adapter.name + "-" + index
            Layout.fillWidth: true
            text: row.adapter.segments[index] || ""
            highlighted: index === row.adapter.selectedIndex
            Accessible.name: text
            Accessible.checkable: true
            Accessible.checked: highlighted
            onClicked: row.adapter.tapSegment(index)
            Keys.onReturnPressed: row.adapter.tapSegment(index)
        }
    }
}
