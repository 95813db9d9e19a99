import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import "../components"

// While a stored account signs in again.
Item {
    id: page
    property QtObject screen

    Column {
        anchors.centerIn: parent
        spacing: 24
        KLabel {
            adapter: page.screen.widget("heading")
            anchors.horizontalCenter: parent.horizontalCenter
            font.pixelSize: 40
            font.weight: Font.Bold
            color: Material.primary
            Accessible.role: Accessible.Heading
        }
        KBusy {
            adapter: page.screen.widget("loading")
            anchors.horizontalCenter: parent.horizontalCenter
        }
    }
}
