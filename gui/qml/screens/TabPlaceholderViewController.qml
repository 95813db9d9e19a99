import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import "../components"

// A tab whose screen is still to come.
Item {
    id: page
    property QtObject screen

    KLabel {
        adapter: page.screen.widget("heading")
        anchors.centerIn: parent
        width: parent.width - 48
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: 26
        font.weight: Font.DemiBold
        color: Material.primary
        Accessible.role: Accessible.Heading
    }
}
