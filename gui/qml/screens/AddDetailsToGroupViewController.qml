import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Step 1 of planning a group: the description, the travel mode, and whether the next step
// also looks for users nearby.
FormPage {
    id: page
    spacing: 12

    component Caption: Label {
        font.pixelSize: 13
        font.weight: Font.DemiBold
        color: Material.primary
        Layout.topMargin: 4
    }

    Label {
        text: qsTr("Step 1 of 5")
        opacity: 0.65
    }
    Caption { text: qsTr("Description") }
    KTextField { adapter: page.screen.widget("groupTitle") }
    Caption { text: page.screen.widget("typeLabel").text }
    KPicker { adapter: page.screen.widget("type") }
    RowLayout {
        spacing: 4
        Layout.fillWidth: true
        KCheckBox { id: box; adapter: page.screen.widget("bluetooth") }
        Label {
            text: box.adapter.accessibleName
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Accessible.ignored: true
            TapHandler { onTapped: box.adapter.tap() }
        }
    }
    KButton {
        adapter: page.screen.widget("next")
        highlighted: true
        Layout.topMargin: 8
    }
}
