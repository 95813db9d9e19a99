import QtQuick
import QtQuick.Controls
import "../components"

// A group's waypoints as pins titled by their numbers; nothing on it changes them.
Item {
    id: page
    property QtObject screen

    TileMap {
        adapter: page.screen.widget("mapView")
        anchors.fill: parent
    }
}
