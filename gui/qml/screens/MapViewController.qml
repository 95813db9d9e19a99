import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The live map of the joined group: the map fills the page, the group being shared sits in
// a card on top with the button that leaves it.
Item {
    id: page
    property QtObject screen

    TileMap {
        adapter: page.screen.widget("map")
        anchors.fill: parent
    }

    Pane {
        id: status
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 12
        padding: 12
        Material.elevation: 4
        background: Rectangle { radius: 12; color: "#f2ffffff"; border.color: "#d8d8d8" }

        contentItem: RowLayout {
            spacing: 12
            Rectangle {
                // Green while a group is shared, grey otherwise.
                width: 12
                height: 12
                radius: 6
                color: unjoin.visible ? "#2e9d4f" : "#9e9e9e"
                Layout.alignment: Qt.AlignVCenter
            }
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label {
                    text: unjoin.visible ? qsTr("Sharing with") : qsTr("Joined group")
                    font.pixelSize: 12
                    opacity: 0.65
                }
                KLabel {
                    adapter: page.screen.widget("groupStatus")
                    font.pixelSize: 17
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    wrapMode: Text.NoWrap
                    maximumLineCount: 1
                }
            }
            KButton {
                id: unjoin
                adapter: page.screen.widget("unjoin")
                Layout.fillWidth: false
            }
        }
    }
}
