import QtQuick
import QtQuick.Controls

// The round "i" button that opens a thing's details.
KelpaRoundButton {
    property QtObject adapter
    objectName: adapter.name
    text: "i"
    font.italic: true
    font.bold: true
    visible: adapter.visible
    enabled: adapter.enabled
    Accessible.name: adapter.accessibleName
    onClicked: adapter.tap()
    Keys.onReturnPressed: adapter.tap()
}
