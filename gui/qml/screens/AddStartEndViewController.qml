import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Step 3 of planning a group: when its window opens and when it closes.
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
        text: qsTr("Step 3 of 5")
        opacity: 0.65
    }
    Caption { text: page.screen.widget("startLabel").text }
    KDatePicker { adapter: page.screen.widget("start") }
    Caption { text: page.screen.widget("endLabel").text }
    KDatePicker { adapter: page.screen.widget("end") }
    KButton {
        adapter: page.screen.widget("next")
        highlighted: true
        Layout.topMargin: 8
    }
}
