import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The groups found nearby, newest on top; a click asks to join one. While none is found a
// line says what the phone is doing.
ColumnLayout {
    id: page
    property QtObject screen
    spacing: 0

    Label {
        text: qsTr("Groups around you")
        font.pixelSize: 20
        font.weight: Font.DemiBold
        Layout.fillWidth: true
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        Layout.topMargin: 12
        Layout.bottomMargin: 4
        Accessible.role: Accessible.Heading
    }
    Label {
        text: qsTr("Click a group to ask its leader to let you in.")
        wrapMode: Text.Wrap
        opacity: 0.7
        Layout.fillWidth: true
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        Layout.bottomMargin: 8
    }

    RowLayout {
        visible: page.screen.widget("scanStatus").visible
        Layout.fillWidth: true
        Layout.margins: 16
        spacing: 12
        KBusy {
            adapter: page.screen.widget("scanActivity")
            implicitWidth: 32
            implicitHeight: 32
        }
        KLabel {
            adapter: page.screen.widget("scanStatus")
            font.pixelSize: 15
        }
    }

    KTable {
        adapter: page.screen.widget("groupsTableView")
    }
}
