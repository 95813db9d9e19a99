import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// A Material button without the raised shadow. The shadow is a shader effect, and the
// software renderer (no GPU, remote desktops, headless runs) leaves it out together with the
// whole button; a flat fill looks the same everywhere. Keyboard focus shows as a ring.
Button {
    id: control
    property color tint: highlighted ? Material.accent : "#e3e8e7"

    background: Rectangle {
        implicitWidth: 64
        implicitHeight: 40
        radius: 6
        color: {
            if (control.flat) return control.down ? "#26000000" : control.hovered ? "#12000000" : "transparent"
            if (!control.enabled) return "#e4e4e4"
            return control.down ? Qt.darker(control.tint, 1.2) : control.hovered ? Qt.darker(control.tint, 1.07) : control.tint
        }
        border.width: control.visualFocus ? 2 : 0
        border.color: control.Material.primary
    }
}
