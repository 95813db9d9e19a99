import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Step 2 of planning a group: the contacts and users nearby, each with a picture; a tap ticks
// or unticks a row, and the ticked ones are invited.
ColumnLayout {
    id: page
    property QtObject screen
    spacing: 0

    ColumnLayout {
        spacing: 2
        Layout.fillWidth: true
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        Layout.topMargin: 12
        Layout.bottomMargin: 4
        Label {
            text: qsTr("Step 2 of 5")
            opacity: 0.65
        }
        Label {
            text: qsTr("Who to invite")
            font.pixelSize: 20
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
        }
        Label {
            text: qsTr("Tap everyone you want in the group; tap again to leave someone out.")
            opacity: 0.65
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }

    KTable {
        adapter: page.screen.widget("contactsTableView")
    }

    KButton {
        adapter: page.screen.widget("next")
        highlighted: true
        Layout.margins: 16
    }
}
