import QtQuick
import QtQuick.Layouts
import Kelpa

ImageItem {
    property QtObject adapter
    objectName: adapter.name
    image: adapter.image
    radius: adapter.cornerRadius
    visible: adapter.visible
    opacity: adapter.opacity
    implicitWidth: 96
    implicitHeight: 96
    Accessible.role: Accessible.Graphic
    Accessible.name: adapter.accessibleName
}
