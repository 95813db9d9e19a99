import QtQuick
import QtQuick.Layouts

// A navigation stack: the bar with the top screen's title and a back button, and the top
// screen under it.
Item {
    id: root
    property QtObject screen

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        NavigationBar {
            Layout.fillWidth: true
            visible: root.screen ? !root.screen.barHidden : false
            title: root.screen && root.screen.current ? root.screen.current.title : ""
            canGoBack: root.screen ? root.screen.canGoBack : false
            backTitle: {
                if (!root.screen || root.screen.childCount < 2) return ""
                const below = root.screen.children[root.screen.childCount - 2]
                return below ? below.title : ""
            }
            onBack: root.screen.goBack()
        }

        ScreenHost {
            Layout.fillWidth: true
            Layout.fillHeight: true
            screen: root.screen ? root.screen.current : null
        }
    }
}
