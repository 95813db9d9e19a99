import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// A conversation: the newest message at the bottom, the person's own messages on the right
// in the accent colour, the other's on the left; the field to write sits at the bottom,
// above where the keyboard comes up.
ColumnLayout {
    id: page
    property QtObject screen
    readonly property QtObject table: screen.widget("chatTableView")
    spacing: 0

    ListView {
        id: list
        objectName: page.table.name
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        spacing: 6
        topMargin: 8
        bottomMargin: 8
        model: page.table.rows
        // Row 0 is the newest: a flipped table starts from the bottom.
        verticalLayoutDirection: page.table.scaleY < 0 ? ListView.BottomToTop : ListView.TopToBottom
        ScrollBar.vertical: ScrollBar { }
        Accessible.name: page.table.accessibleName
        Accessible.role: Accessible.List

        // A tap on the conversation ends the typing.
        TapHandler { onTapped: page.screen.tapOutside() }

        delegate: Item {
            id: row
            required property int index
            required property string title
            required property string detail
            readonly property bool mine: title.startsWith("<< ")
            width: ListView.view.width
            height: bubble.height
            Accessible.name: title + ", " + detail
            Accessible.role: Accessible.ListItem

            Rectangle {
                id: bubble
                anchors.right: row.mine ? parent.right : undefined
                anchors.left: row.mine ? undefined : parent.left
                anchors.rightMargin: 12
                anchors.leftMargin: 12
                width: Math.min(texts.implicitWidth + 24, row.width * 0.75)
                height: texts.implicitHeight + 14
                radius: 12
                color: row.mine ? Material.accent : "#eceff1"
                ColumnLayout {
                    id: texts
                    anchors.fill: parent
                    anchors.margins: 7
                    anchors.leftMargin: 12
                    anchors.rightMargin: 12
                    spacing: 2
                    Label {
                        text: row.title
                        wrapMode: Text.Wrap
                        font.pixelSize: 15
                        color: row.mine ? "white" : "#212121"
                        Layout.fillWidth: true
                        Layout.maximumWidth: row.width * 0.75 - 24
                    }
                    Label {
                        text: row.detail
                        font.pixelSize: 11
                        color: row.mine ? "white" : "#212121"
                        opacity: 0.75
                        Layout.alignment: row.mine ? Qt.AlignRight : Qt.AlignLeft
                    }
                }
            }
        }
    }

    Rectangle {
        Layout.fillWidth: true
        Layout.preferredHeight: 1
        color: "#e0e0e0"
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 12
        Layout.rightMargin: 12
        Layout.topMargin: 8
        Layout.bottomMargin: 8
        spacing: 12
        KTextField {
            adapter: page.screen.widget("textToSend")
            Keys.onReturnPressed: page.screen.widget("sendButton").tap()
            Keys.onEnterPressed: page.screen.widget("sendButton").tap()
        }
        KButton {
            adapter: page.screen.widget("sendButton")
            highlighted: true
            Layout.fillWidth: false
        }
    }
}
