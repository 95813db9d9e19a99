import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import "../components"

// This phone is being found nearby.
Item {
    id: page
    property QtObject screen

    Column {
        anchors.centerIn: parent
        width: parent.width - 48
        spacing: 24

        // Rings that widen, as the phone is sending.
        Item {
            width: 120
            height: 120
            anchors.horizontalCenter: parent.horizontalCenter
            Repeater {
                model: 3
                Rectangle {
                    id: ring
                    required property int index
                    anchors.centerIn: parent
                    width: 40 + index * 36
                    height: width
                    radius: width / 2
                    color: "transparent"
                    border.color: Material.accent
                    border.width: 3
                    opacity: 0.9 - index * 0.28
                }
            }
            Rectangle {
                anchors.centerIn: parent
                width: 24
                height: 24
                radius: 12
                color: Material.primary
            }
        }

        KLabel {
            adapter: page.screen.widget("hint")
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 17
        }
    }
}
