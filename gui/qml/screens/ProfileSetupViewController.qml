import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "../components"

// The picture and the name others see.
FormPage {
    id: page

    Item {
        Layout.fillWidth: true
        Layout.preferredHeight: 132
        Rectangle {
            anchors.centerIn: parent
            width: 128
            height: 128
            radius: 64
            color: "#e0f2f1"
        }
        KImage {
            adapter: page.screen.widget("profileImage")
            anchors.centerIn: parent
            width: 120
            height: 120
            radius: 60
        }
        KBusy {
            adapter: page.screen.widget("status")
            anchors.centerIn: parent
        }
    }
    RowLayout {
        spacing: 8
        KButton {
            adapter: page.screen.widget("selectFromLibrary")
            Layout.preferredWidth: 1
        }
        KButton {
            adapter: page.screen.widget("takePicture")
            Layout.preferredWidth: 1
        }
    }
    KTextField { adapter: page.screen.widget("displayname") }
    KButton {
        adapter: page.screen.widget("finish")
        highlighted: true
        Layout.topMargin: 8
    }
}
