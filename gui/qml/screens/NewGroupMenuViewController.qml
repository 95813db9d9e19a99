import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// The ways to a new group, each with a line on what it does.
FormPage {
    id: page
    spacing: 6

    component Entry: ColumnLayout {
        id: entry
        property QtObject adapter
        property string hint
        property bool primary: false
        spacing: 4
        Layout.fillWidth: true
        Layout.bottomMargin: 14
        KButton {
            adapter: entry.adapter
            highlighted: entry.primary
        }
        Label {
            text: entry.hint
            opacity: 0.65
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }

    Entry {
        adapter: page.screen.widget("adhocGroup")
        primary: true
        hint: qsTr("Starts a group at once and shows its two secret words.")
    }
    Entry { adapter: page.screen.widget("quickJoin"); hint: qsTr("Joins a group whose two secret words you know.") }
    Entry { adapter: page.screen.widget("plannedGroup"); hint: qsTr("Sets up travel mode, members, time window and waypoints.") }
    Entry { adapter: page.screen.widget("scanGroups"); hint: qsTr("Looks for groups whose leader is close by.") }
    Entry { adapter: page.screen.widget("beFound"); hint: qsTr("Lets a leader close by find this phone.") }
}
