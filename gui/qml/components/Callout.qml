import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Kelpa

// The bubble over a selected marker: its title and subtitle, a picture on the left and a
// details button on the right when the marker has them.
Item {
    id: callout
    property string title
    property string subtitle
    property var image
    property bool hasImage: false
    property bool hasDetail: false
    property string detailName: "Details"
    signal detailTapped()

    implicitWidth: Math.min(card.implicitWidth, 300)
    implicitHeight: card.implicitHeight + 8

    Pane {
        id: card
        width: callout.width
        padding: 8
        background: Rectangle { radius: 10; color: "white"; border.color: "#d0d0d0" }

        contentItem: RowLayout {
            spacing: 8
            ImageItem {
                visible: callout.hasImage
                image: callout.image
                radius: 4
                Layout.preferredWidth: 30
                Layout.preferredHeight: 30
            }
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Label {
                    text: callout.title
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                    Layout.maximumWidth: 220
                }
                Label {
                    visible: callout.subtitle !== ""
                    text: callout.subtitle
                    font.pixelSize: 12
                    opacity: 0.7
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                    Layout.maximumWidth: 220
                }
            }
            KelpaRoundButton {
                objectName: "calloutDetail"
                visible: callout.hasDetail
                text: "i"
                font.italic: true
                font.bold: true
                implicitWidth: 36
                implicitHeight: 36
                Accessible.name: callout.detailName
                onClicked: callout.detailTapped()
            }
        }
    }

    // The point towards the marker.
    Rectangle {
        width: 12
        height: 12
        rotation: 45
        color: "white"
        border.color: "#d0d0d0"
        x: callout.width / 2 - 6
        y: card.height - 7
        z: -1
    }
}
