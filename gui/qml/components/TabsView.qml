import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

// Tabs along the bottom, titled by their screens; the selected tab's screen above them.
Item {
    id: root
    property QtObject screen

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ScreenHost {
            Layout.fillWidth: true
            Layout.fillHeight: true
            screen: root.screen ? root.screen.current : null
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: "#d6d6d6"
        }

        TabBar {
            id: tabs
            Layout.fillWidth: true
            position: TabBar.Footer
            // Drawn flat (see KelpaButton), under a line instead of a shadow.
            Material.elevation: 0
            currentIndex: root.screen ? root.screen.selectedIndex : 0

            Repeater {
                model: root.screen ? root.screen.childCount : 0
                TabButton {
                    required property int index
                    readonly property QtObject tab: root.screen ? root.screen.children[index] : null
                    objectName: "tab" + index
                    text: tab ? tab.title : ""
                    // Titles as written: capitals would not fit four tabs on a phone.
                    font.capitalization: Font.MixedCase
                    font.pixelSize: 15
                    leftPadding: 4
                    rightPadding: 4
                    Accessible.name: text
                    onClicked: root.screen.select(index)
                }
            }
        }
    }
}
