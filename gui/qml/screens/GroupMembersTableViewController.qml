import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// A group's members with their pictures: "joined" under the name of who shares now, the
// leader marked at the right. The leader swipes (or uses "Delete" on) another member to
// remove them; the refresh fetches the list anew; the button on top invites contacts.
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
            text: qsTr("Who is in")
            font.pixelSize: 20
            font.weight: Font.DemiBold
            Layout.fillWidth: true
            Accessible.role: Accessible.Heading
        }
        KButton {
            adapter: page.screen.widget("addMembers")
            highlighted: true
            Layout.fillWidth: false
        }
    }

    KTable {
        adapter: page.screen.widget("membersTableView")
    }
}
