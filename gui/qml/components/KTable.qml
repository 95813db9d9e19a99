import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Kelpa

// A table of rows. A click (or Enter) taps a row; rows that take a delete are swiped left to
// show "Delete", and also offer it on a right click, a long press or the Delete key. A table that refreshes has a refresh button,
// takes F5, and refreshes when pulled down past its top.
ColumnLayout {
    id: table
    property QtObject adapter
    objectName: adapter.name
    visible: adapter.visible
    enabled: adapter.enabled
    spacing: 0
    Layout.fillWidth: true
    Layout.fillHeight: true

    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 8
        Layout.rightMargin: 8
        visible: table.adapter.refreshable || table.adapter.refreshing
        Item { Layout.fillWidth: true }
        BusyIndicator {
            running: table.adapter.refreshing
            visible: running
            implicitWidth: 32
            implicitHeight: 32
            Accessible.name: "Refreshing"
        }
        ToolButton {
            objectName: table.adapter.name + "-refresh"
            text: "\u21bb Refresh"
            enabled: !table.adapter.refreshing
            Accessible.name: "Refresh"
            onClicked: table.adapter.pull()
        }
    }

    ListView {
        id: list
        Layout.fillWidth: true
        Layout.fillHeight: true
        implicitHeight: contentHeight
        clip: true
        model: table.adapter.rows
        keyNavigationEnabled: true
        activeFocusOnTab: true
        boundsBehavior: table.adapter.refreshable ? Flickable.DragOverBounds : Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { }
        // A flipped table (a chat shows its newest row at the bottom) flips its rows back.
        transform: Scale { origin.y: list.height / 2; yScale: table.adapter.scaleY < 0 ? -1 : 1 }

        onDragEnded: if (table.adapter.refreshable && contentY < originY - 72) table.adapter.pull()

        delegate: SwipeDelegate {
            id: row
            required property int index
            required property string title
            required property string detail
            required property string cellStyle
            required property var image
            required property bool hasImage
            required property string accessory
            required property var accessoryImage
            required property bool hasAccessoryImage
            required property string accessoryName
            required property bool selected
            required property bool canDelete

            function remove() {
                swipe.close()
                table.adapter.deleteRow(index)
            }

            width: ListView.view.width
            highlighted: selected || ListView.isCurrentItem && list.activeFocus
            transform: Scale { origin.y: row.height / 2; yScale: table.adapter.scaleY < 0 ? -1 : 1 }
            Accessible.name: detail !== "" ? title + ", " + detail : title
            Accessible.selectable: true
            Accessible.selected: selected

            onClicked: table.adapter.tapRow(index)
            onPressAndHold: if (canDelete) menu.popup()
            Keys.onReturnPressed: table.adapter.tapRow(index)
            Keys.onDeletePressed: if (canDelete) remove()

            // Swipe to delete, as on the phone; on a desktop also a right click or the Delete key.
            swipe.enabled: canDelete
            swipe.right: Rectangle {
                width: 96
                height: row.height
                anchors.right: parent.right
                color: "#d32f2f"
                Label {
                    anchors.centerIn: parent
                    text: "Delete"
                    color: "white"
                    font.weight: Font.DemiBold
                }
                TapHandler { onTapped: row.remove() }
            }

            TapHandler {
                acceptedButtons: Qt.RightButton
                onTapped: if (row.canDelete) menu.popup()
            }
            Menu {
                id: menu
                Material.elevation: 0
                background: Rectangle {
                    implicitWidth: 160
                    radius: 6
                    color: "white"
                    border.color: "#bdbdbd"
                }
                MenuItem {
                    text: "Delete"
                    Accessible.name: "Delete"
                    onTriggered: row.remove()
                }
            }

            contentItem: RowLayout {
                spacing: 12
                ImageItem {
                    visible: row.hasImage
                    image: row.image
                    radius: 20
                    Layout.preferredWidth: 40
                    Layout.preferredHeight: 40
                }
                ColumnLayout {
                    spacing: 2
                    Layout.fillWidth: true
                    Label {
                        text: row.title
                        elide: Text.ElideRight
                        font.pixelSize: 16
                        Layout.fillWidth: true
                    }
                    Label {
                        visible: row.cellStyle === "subtitle" && row.detail !== ""
                        text: row.detail
                        elide: Text.ElideRight
                        font.pixelSize: 13
                        opacity: 0.65
                        Layout.fillWidth: true
                    }
                }
                Label {
                    visible: (row.cellStyle === "value1" || row.cellStyle === "value2") && row.detail !== ""
                    text: row.detail
                    opacity: 0.65
                    elide: Text.ElideLeft
                    Layout.maximumWidth: row.width * 0.45
                }
                ImageItem {
                    visible: row.hasAccessoryImage
                    image: row.accessoryImage
                    radius: 15
                    Layout.preferredWidth: 30
                    Layout.preferredHeight: 30
                    Accessible.name: row.accessoryName
                }
                // An accessory without a picture shows what it stands for.
                Label {
                    visible: !row.hasAccessoryImage && row.accessoryName !== ""
                    text: row.accessoryName
                    color: Material.accent
                    font.pixelSize: 12
                    font.weight: Font.DemiBold
                    leftPadding: 8
                    rightPadding: 8
                    topPadding: 3
                    bottomPadding: 3
                    background: Rectangle {
                        radius: height / 2
                        color: "transparent"
                        border.color: Material.accent
                    }
                }
                Label {
                    visible: row.accessory !== "none"
                    text: row.accessory === "checkmark" ? "\u2713" : row.accessory === "disclosureIndicator" ? "\u203a" : "\u24d8"
                    color: Material.accent
                    font.pixelSize: 20
                    Accessible.ignored: row.accessory !== "checkmark"
                    Accessible.name: "Selected"
                }
            }
        }
    }

    Shortcut {
        sequence: "F5"
        enabled: table.visible && table.adapter.refreshable
        onActivated: table.adapter.pull()
    }
}
