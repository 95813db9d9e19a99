import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

BusyIndicator {
    property QtObject adapter
    objectName: adapter.name
    visible: adapter.visible
    running: adapter.visible && adapter.animating
    Layout.alignment: Qt.AlignHCenter
    Accessible.name: adapter.accessibleName
}
