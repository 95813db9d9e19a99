import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The contacts who are not in the group yet: a click ticks or unticks one, the button
// invites everybody ticked.
ColumnLayout {
    id: page
    property QtObject screen
    spacing: 0

    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        Layout.topMargin: 12
        Layout.bottomMargin: 4
        spacing: 12
        Label {
            text: qsTr("Tick who to invite")
            font.pixelSize: 20
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
            Accessible.role: Accessible.Heading
        }
        KButton {
            adapter: page.screen.widget("finishAdding")
            highlighted: true
            Layout.fillWidth: false
        }
    }

    KTable {
        adapter: page.screen.widget("contactsTableView")
    }
}
