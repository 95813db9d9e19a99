import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

// A page of widgets: the screen's own file, or the generic page. A screen presented on its
// own (outside a navigation stack) gets a title bar of its own. A touch on the page outside
// any control is the screen's touch (which ends editing).
Item {
    id: root
    property QtObject screen

    Rectangle {
        anchors.fill: parent
        color: "white"
    }

    MouseArea {
        anchors.fill: parent
        onPressed: root.screen.tapOutside()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ToolBar {
            Layout.fillWidth: true
            visible: root.screen ? !root.screen.inNavigation && root.screen.title !== "" : false
            Material.foreground: "white"
            Material.elevation: 0
            implicitHeight: 56
            Label {
                anchors.centerIn: parent
                width: parent.width - 32
                horizontalAlignment: Text.AlignHCenter
                text: root.screen ? root.screen.title : ""
                elide: Text.ElideRight
                font.pixelSize: 18
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        Loader {
            id: page
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }

    Component.onCompleted: page.setSource(screen.pageUrl, { "screen": screen })
}
