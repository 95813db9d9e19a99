import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The user's groups, the joined one marked at the right; a row opens the group, a swipe (or
// the "Delete" action) removes it, the refresh reloads. The new-group button sits on top.
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
            text: qsTr("Your groups")
            font.pixelSize: 20
            font.weight: Font.DemiBold
            Layout.fillWidth: true
            Accessible.role: Accessible.Heading
        }
        KButton {
            adapter: page.screen.widget("newGroup")
            highlighted: true
            Layout.fillWidth: false
        }
    }

    KTable {
        adapter: page.screen.widget("groupsTableView")
    }
}
