import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

// A picker wheel as a short list per component, the chosen row marked. Arrow keys move,
// Enter or Space chooses.
RowLayout {
    id: row
    property QtObject adapter
    objectName: adapter.name
    visible: adapter.visible
    enabled: adapter.enabled
    spacing: 8
    Layout.fillWidth: true

    Repeater {
        model: row.adapter.columns.length
        Rectangle {
            id: column
            required property int index
            readonly property var entry: row.adapter.columns[index]
            Layout.fillWidth: true
            implicitHeight: Math.min(list.contentHeight, 5 * 44) + 2
            radius: 6
            border.color: list.activeFocus ? Material.primary : "#c8c8c8"
            border.width: list.activeFocus ? 2 : 1

            ListView {
                id: list
                anchors.fill: parent
                anchors.margins: 1
                clip: true
                model: column.entry ? column.entry.titles : []
                currentIndex: column.entry ? column.entry.selected : -1
                activeFocusOnTab: true
                keyNavigationEnabled: true
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: row.adapter.accessibleName
                Keys.onReturnPressed: row.adapter.pick(currentIndex, column.index)
                Keys.onSpacePressed: row.adapter.pick(currentIndex, column.index)

                delegate: ItemDelegate {
                    required property int index
                    required property string modelData
                    readonly property bool chosen: column.entry && index === column.entry.selected
                    width: ListView.view.width
                    height: 44
                    text: modelData
                    highlighted: chosen
                    Accessible.name: modelData
                    Accessible.selected: chosen
                    onClicked: row.adapter.pick(index, column.index)
                    indicator: Label {
                        visible: parent.chosen
                        text: "\u2713"
                        color: Material.accent
                        font.pixelSize: 18
                        anchors.right: parent.right
                        anchors.rightMargin: 12
                        anchors.verticalCenter: parent.verticalCenter
                    }
                }
            }
        }
    }
}
