import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A check-box button: checked while its title is not empty. A click is a tap; the screen
// decides what the title becomes.
CheckBox {
    property QtObject adapter
    objectName: adapter.name
    checkState: adapter.title !== "" ? Qt.Checked : Qt.Unchecked
    nextCheckState: function() { return checkState }
    visible: adapter.visible
    enabled: adapter.enabled
    opacity: adapter.opacity
    Accessible.name: adapter.accessibleName
    onClicked: adapter.tap()
    Keys.onReturnPressed: adapter.tap()
}
