import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Step 5 of planning a group: the waypoints as numbered pins, and below the map the button
// that creates the group.
ColumnLayout {
    id: page
    property QtObject screen
    spacing: 0

    TileMap {
        adapter: page.screen.widget("map")
        Layout.fillWidth: true
        Layout.fillHeight: true
    }

    Pane {
        Layout.fillWidth: true
        padding: 16
        Material.elevation: 4

        contentItem: RowLayout {
            spacing: 12
            ColumnLayout {
                spacing: 2
                Layout.fillWidth: true
                Label {
                    text: qsTr("Step 5 of 5")
                    font.pixelSize: 12
                    opacity: 0.65
                }
                Label {
                    text: qsTr("The waypoints, numbered in route order from 0.")
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }
            }
            KButton {
                adapter: page.screen.widget("create")
                highlighted: true
                Layout.fillWidth: false
            }
        }
    }
}
