import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Kelpa

// A map view: tiles with pins and routes, the callout of the selected pin, zoom buttons and
// the tile source's attribution. Drag to pan; wheel, pinch, double click, the buttons or
// +/- zoom; arrow keys pan when the map has the focus.
Item {
    id: root
    property QtObject adapter
    objectName: adapter.name
    visible: adapter.visible
    opacity: adapter.opacity
    clip: true
    activeFocusOnTab: true
    implicitHeight: 260
    Layout.fillWidth: true
    Accessible.role: Accessible.Graphic
    Accessible.name: adapter.accessibleName === "map" ? "Map" : adapter.accessibleName

    MapItem {
        id: map
        anchors.fill: parent
        adapter: root.adapter
        tiles: tileLoader
    }

    PinchHandler {
        target: null
        property real last: 1
        onActiveChanged: last = 1
        onActiveScaleChanged: {
            map.zoomBy(activeScale / last, centroid.position.x, centroid.position.y)
            last = activeScale
        }
    }

    Keys.onPressed: (event) => {
        const step = 64
        if (event.key === Qt.Key_Plus || event.key === Qt.Key_Equal) map.zoomBy(2, width / 2, height / 2)
        else if (event.key === Qt.Key_Minus) map.zoomBy(0.5, width / 2, height / 2)
        else if (event.key === Qt.Key_Left) map.panBy(step, 0)
        else if (event.key === Qt.Key_Right) map.panBy(-step, 0)
        else if (event.key === Qt.Key_Up) map.panBy(0, step)
        else if (event.key === Qt.Key_Down) map.panBy(0, -step)
        else return
        event.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: Material.accent
        border.width: 2
        visible: root.activeFocus
    }

    Callout {
        visible: map.calloutVisible
        title: map.calloutTitle
        subtitle: map.calloutSubtitle
        image: map.calloutImage
        hasImage: map.calloutHasImage
        hasDetail: map.calloutHasDetail
        detailName: map.calloutDetailName
        x: Math.max(4, Math.min(root.width - width - 4, map.calloutAnchor.x - width / 2))
        y: Math.max(4, map.calloutAnchor.y - height - 2)
        onDetailTapped: map.tapCalloutDetail()
    }

    Column {
        anchors.right: parent.right
        anchors.bottom: attribution.top
        anchors.margins: 8
        spacing: 4
        KelpaRoundButton {
            text: "+"
            focusPolicy: Qt.NoFocus
            Accessible.name: "Zoom in"
            onClicked: map.zoomBy(2, root.width / 2, root.height / 2)
        }
        KelpaRoundButton {
            text: "\u2212"
            focusPolicy: Qt.NoFocus
            Accessible.name: "Zoom out"
            onClicked: map.zoomBy(0.5, root.width / 2, root.height / 2)
        }
    }

    Label {
        id: attribution
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        text: tileLoader ? tileLoader.attribution : ""
        visible: text !== ""
        font.pixelSize: 10
        padding: 3
        leftPadding: 6
        rightPadding: 6
        background: Rectangle { color: "#ccffffff" }
    }
}
