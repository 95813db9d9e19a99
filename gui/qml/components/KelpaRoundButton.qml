import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// A round button drawn flat, for the same reason as KelpaButton.
RoundButton {
    id: control
    implicitWidth: 40
    implicitHeight: 40
    padding: 0
    background: Rectangle {
        implicitWidth: 40
        implicitHeight: 40
        radius: width / 2
        color: control.down ? "#e0e0e0" : control.hovered ? "#f2f2f2" : "white"
        border.width: control.visualFocus ? 2 : 1
        border.color: control.visualFocus ? control.Material.primary : "#bdbdbd"
    }
}
