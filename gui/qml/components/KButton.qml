import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A button of the system style; Enter and Space press it when it has the focus.
KelpaButton {
    id: button
    property QtObject adapter
    objectName: adapter.name
    text: adapter.title
    visible: adapter.visible
    enabled: adapter.enabled
    opacity: adapter.opacity
    Layout.fillWidth: true
    Accessible.name: adapter.accessibleName
    onClicked: adapter.tap()
    Keys.onReturnPressed: adapter.tap()
    Keys.onEnterPressed: adapter.tap()
}
