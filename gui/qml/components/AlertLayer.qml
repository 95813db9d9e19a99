import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

// An alert over the screen that presented it: title, message and its buttons. It goes away
// only through a button. Escape chooses the cancel button, if there is one.
Item {
    id: root
    property QtObject screen

    Rectangle {
        anchors.fill: parent
        color: "#66000000"
    }
    MouseArea {
        anchors.fill: parent
    }

    Pane {
        id: card
        anchors.centerIn: parent
        width: Math.min(root.width - 48, 320)
        padding: 20
        background: Rectangle {
            radius: 12
            color: "white"
            border.color: "#c8c8c8"
        }
        focus: true
        Accessible.role: Accessible.AlertMessage
        Accessible.name: root.screen ? root.screen.title : ""
        Accessible.description: root.screen ? root.screen.message : ""

        ColumnLayout {
            width: parent.width
            spacing: 10

            Label {
                text: root.screen ? root.screen.title : ""
                visible: text !== ""
                font.pixelSize: 18
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                Layout.fillWidth: true
            }
            Label {
                text: root.screen ? root.screen.message : ""
                visible: text !== ""
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                Layout.fillWidth: true
            }

            GridLayout {
                id: buttons
                readonly property var actions: root.screen ? root.screen.actions : []
                columns: actions.length === 2 ? 2 : 1
                columnSpacing: 8
                rowSpacing: 4
                Layout.fillWidth: true
                Layout.topMargin: 6

                Repeater {
                    model: buttons.actions.length
                    KelpaButton {
                        required property int index
                        readonly property var choice: buttons.actions[index]
                        objectName: "alert-" + choice.title
                        text: choice.title
                        flat: choice.style === "cancel"
                        highlighted: choice.style === "default"
                        Material.accent: choice.style === "destructive" ? Material.Red : undefined
                        Layout.fillWidth: true
                        focus: index === buttons.actions.length - 1
                        Accessible.name: choice.title
                        onClicked: root.screen.choose(choice.title)
                        Keys.onReturnPressed: root.screen.choose(choice.title)
                        Keys.onEnterPressed: root.screen.choose(choice.title)
                    }
                }
            }
        }
    }

    Shortcut {
        sequence: "Escape"
        onActivated: {
            const actions = root.screen ? root.screen.actions : []
            for (let i = 0; i < actions.length; ++i) {
                if (actions[i].style === "cancel") {
                    root.screen.choose(actions[i].title)
                    return
                }
            }
        }
    }

    Component.onCompleted: card.forceActiveFocus()
}
