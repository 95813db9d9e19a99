import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Step 4 of planning a group: addresses typed one by one; each place found becomes a row
// with its latitude and longitude, in the order the places come back.
Item {
    id: page
    property QtObject screen

    // A touch beside the field ends the typing.
    MouseArea {
        anchors.fill: parent
        onPressed: page.screen.tapOutside()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ColumnLayout {
            spacing: 8
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.topMargin: 12
            Label {
                text: qsTr("Step 4 of 5")
                opacity: 0.65
            }
            Label {
                text: qsTr("Type an address and add it; the waypoints keep the order they are found in.")
                opacity: 0.65
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            RowLayout {
                spacing: 12
                Layout.fillWidth: true
                KTextField { adapter: page.screen.widget("adress") }
                KButton {
                    adapter: page.screen.widget("addButton")
                    Layout.fillWidth: false
                }
            }
            Label {
                text: qsTr("Waypoints (latitude - longitude)")
                font.pixelSize: 13
                font.weight: Font.DemiBold
                color: Material.primary
                Layout.topMargin: 8
            }
        }

        KTable {
            adapter: page.screen.widget("waypointsTableView")
        }

        KButton {
            adapter: page.screen.widget("next")
            highlighted: true
            Layout.margins: 16
        }
    }
}
