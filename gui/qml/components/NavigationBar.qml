import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

ToolBar {
    id: bar
    property string title
    property bool canGoBack: false
    property string backTitle
    signal back()

    Material.foreground: "white"
    // Drawn flat: the shadow needs a GPU (see KelpaButton).
    Material.elevation: 0
    implicitHeight: 56

    ToolButton {
        id: backButton
        objectName: "back"
        visible: bar.canGoBack
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: Math.min(implicitWidth, bar.width * 0.3)
        text: "\u2039 " + (bar.backTitle.length > 0 && bar.backTitle.length <= 12 ? bar.backTitle : "Back")
        Accessible.name: "Back"
        onClicked: bar.back()
        Keys.onReturnPressed: bar.back()
        Keys.onEnterPressed: bar.back()
    }

    Label {
        anchors.centerIn: parent
        width: bar.width - 2 * Math.max(backButton.visible ? backButton.width : 0, 16) - 16
        horizontalAlignment: Text.AlignHCenter
        text: bar.title
        elide: Text.ElideRight
        font.pixelSize: 18
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: bar.title
    }

    Shortcut {
        sequences: ["Alt+Left", StandardKey.Back]
        enabled: bar.visible && bar.canGoBack
        onActivated: bar.back()
    }
}
