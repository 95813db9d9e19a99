import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A column of widgets that scrolls when the window is too short for it, centred and kept to
// a readable width on wide windows. A touch between the widgets is the screen's touch.
Flickable {
    id: flick
    property QtObject screen
    property real maxContentWidth: 440
    property real margin: 24
    property alias spacing: column.spacing
    default property alias content: column.data

    clip: true
    contentWidth: width
    contentHeight: column.implicitHeight + 2 * margin
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { }

    MouseArea {
        z: -1
        width: flick.width
        height: Math.max(flick.height, flick.contentHeight)
        onPressed: if (flick.screen) flick.screen.tapOutside()
    }

    ColumnLayout {
        id: column
        width: Math.min(flick.width - 2 * flick.margin, flick.maxContentWidth)
        x: (flick.width - width) / 2
        y: flick.margin
        spacing: 16
    }
}
