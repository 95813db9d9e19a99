import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Adding a contact by identifier; the users below show each identifier to type.
ColumnLayout {
    id: page
    property QtObject screen
    spacing: 0

    ColumnLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        Layout.topMargin: 16
        spacing: 12
        KLabel { adapter: page.screen.widget("hint") }
        RowLayout {
            spacing: 12
            Layout.fillWidth: true
            KTextField { adapter: page.screen.widget("contactID") }
            KButton {
                adapter: page.screen.widget("addButton")
                highlighted: true
                Layout.fillWidth: false
            }
        }
        Label {
            text: qsTr("Users on Kelpa (identifier - name)")
            font.pixelSize: 16
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
            Layout.topMargin: 8
            Accessible.role: Accessible.Heading
        }
    }

    KTable {
        adapter: page.screen.widget("availableUsersTableView")
    }

    // A touch beside the field ends the typing.
    TapHandler { onTapped: page.screen.tapOutside() }
}
