import QtQuick

// A screen shown inside another (a stack's top, the selected tab). ScreenView is loaded by
// URL, since a component cannot contain itself.
Loader {
    id: host
    property QtObject screen
    source: "ScreenView.qml"
    onLoaded: item.screen = Qt.binding(function() { return host.screen })
}
