import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

Label {
    property QtObject adapter
    objectName: adapter.name
    text: adapter.text
    visible: adapter.visible
    opacity: adapter.opacity
    wrapMode: Text.Wrap
    Layout.fillWidth: true
    Accessible.name: adapter.accessibleName
}
