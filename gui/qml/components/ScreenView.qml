import QtQuick

// One screen of any kind: a navigation stack, tabs, or a page of widgets. Made anew when the
// screen it shows changes, so a page never carries over another screen's state.
Item {
    id: root
    property QtObject screen
    property QtObject shown: null

    function load() {
        if (shown === screen) return
        shown = screen
        loader.source = ""
        if (!screen) return
        const file = screen.kind === "navigation" ? "NavigationView.qml"
                   : screen.kind === "tabs" ? "TabsView.qml"
                   : "PageHost.qml"
        loader.setSource(file, { "screen": screen })
    }

    onScreenChanged: load()
    Component.onCompleted: load()

    Loader {
        id: loader
        anchors.fill: parent
    }
}
