import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import "../components"

// A screen about one group that is still to come: its title and the group's name.
Item {
    id: page
    property QtObject screen

    Column {
        anchors.centerIn: parent
        width: parent.width - 48
        spacing: 8
        KLabel {
            adapter: page.screen.widget("heading")
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 26
            font.weight: Font.DemiBold
            color: Material.primary
            Accessible.role: Accessible.Heading
        }
        KLabel {
            adapter: page.screen.widget("groupName")
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 17
            opacity: 0.65
        }
    }
}
