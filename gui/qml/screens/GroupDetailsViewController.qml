import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// One group: its fields in captioned rows, the members and waypoints it leads on to, the
// join control, and for the leader the control that makes the group discoverable nearby.
FormPage {
    id: page
    spacing: 12

    component Field: RowLayout {
        id: field
        property string caption
        property QtObject adapter
        spacing: 12
        Layout.fillWidth: true
        Label {
            text: field.caption
            opacity: 0.65
            Layout.preferredWidth: 110
        }
        KLabel {
            adapter: field.adapter
            font.pixelSize: 16
        }
    }

    component Caption: Label {
        font.pixelSize: 13
        font.weight: Font.DemiBold
        color: Material.primary
        Layout.topMargin: 8
    }

    Caption { text: qsTr("Group") }
    Field { caption: qsTr("Description"); adapter: page.screen.widget("groupDescription") }
    Field { caption: qsTr("Travel mode"); adapter: page.screen.widget("groupType") }
    Field { caption: qsTr("Starts"); adapter: page.screen.widget("groupStart") }
    Field { caption: qsTr("Ends"); adapter: page.screen.widget("groupEnd") }
    Field { caption: qsTr("Created"); adapter: page.screen.widget("groupCreated") }
    Field { caption: qsTr("Group ID"); adapter: page.screen.widget("groupID") }

    RowLayout {
        spacing: 12
        Layout.fillWidth: true
        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            Label { text: qsTr("Members"); opacity: 0.65 }
            KButton { adapter: page.screen.widget("groupMembers") }
        }
        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            Label { text: qsTr("Waypoints"); opacity: 0.65 }
            KButton { adapter: page.screen.widget("groupWaypoints") }
        }
    }

    Caption { text: qsTr("Sharing") }
    KSegmented { adapter: page.screen.widget("joinSegment") }

    ColumnLayout {
        visible: page.screen.widget("bluetoothView").visible
        spacing: 8
        Layout.fillWidth: true
        Caption { text: qsTr("Discoverable nearby (Bluetooth)") }
        KSegmented { adapter: page.screen.widget("bluetoothSegment") }
    }
}
