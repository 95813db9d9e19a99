import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Kelpa

// The picture chooser: the folders and picture files of this computer. A click on a folder
// opens it, a click on a picture chooses it; Cancel (or Escape) chooses none. There is no
// camera here, so taking a picture also means choosing a file.
Rectangle {
    id: root
    property QtObject screen
    color: "white"

    FolderModel { id: folders }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ToolBar {
            Layout.fillWidth: true
            Material.foreground: "white"
            Material.elevation: 0
            implicitHeight: 56
            Label {
                anchors.centerIn: parent
                text: root.screen && root.screen.sourceType === "camera" ? "Take a picture" : "Choose a picture"
                font.pixelSize: 18
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 8
            spacing: 8
            KelpaButton {
                objectName: "folderUp"
                text: "\u2191 Up"
                enabled: folders.canGoUp
                Accessible.name: "Up one folder"
                onClicked: folders.up()
            }
            Label {
                text: folders.folder
                elide: Text.ElideLeft
                opacity: 0.7
                Layout.fillWidth: true
            }
        }

        ListView {
            id: list
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: folders
            activeFocusOnTab: true
            keyNavigationEnabled: true
            focus: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { }
            Accessible.role: Accessible.List
            Accessible.name: "Folders and pictures"

            delegate: ItemDelegate {
                required property int index
                required property string name
                required property string path
                required property bool isFolder
                objectName: "file-" + name
                width: ListView.view.width
                text: (isFolder ? "\u25b8  " : "") + name
                highlighted: ListView.isCurrentItem && list.activeFocus
                Accessible.name: (isFolder ? "Folder " : "Picture ") + name
                onClicked: choose()
                Keys.onReturnPressed: choose()
                function choose() {
                    if (isFolder) folders.open(index)
                    else root.screen.finishPicking(path)
                }
            }

            Label {
                anchors.centerIn: parent
                visible: folders.count === 0
                text: "No pictures in this folder."
                opacity: 0.6
            }
        }

        KelpaButton {
            objectName: "cancelPicking"
            text: "Cancel"
            flat: true
            Layout.fillWidth: true
            Layout.margins: 8
            Accessible.name: text
            onClicked: root.screen.cancel()
        }
    }

    Shortcut {
        sequence: "Escape"
        onActivated: root.screen.cancel()
    }
}
