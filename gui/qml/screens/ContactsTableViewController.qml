import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The people from the address book who use Kelpa, each with their picture; a row opens the
// chat with that person, the refresh asks the service again, the button adds a contact.
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
            text: qsTr("On Kelpa")
            font.pixelSize: 20
            font.weight: Font.DemiBold
            elide: Text.ElideRight
            Layout.fillWidth: true
            Accessible.role: Accessible.Heading
        }
        KButton {
            adapter: page.screen.widget("addContactButton")
            highlighted: true
            Layout.fillWidth: false
        }
    }

    KTable {
        adapter: page.screen.widget("contactsTableView")
    }
}
