import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "../components"

// The signed-in user's own page: picture, who they are, their name, and signing out.
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
            adapter: page.screen.widget("selectPicture")
            Layout.preferredWidth: 1
        }
        KButton {
            adapter: page.screen.widget("takePicture")
            Layout.preferredWidth: 1
        }
    }
    KButton {
        adapter: page.screen.widget("deleteProfileImage")
        flat: true
    }
    // Who is signed in: shown, not edited.
    KTextField {
        adapter: page.screen.widget("userID")
        enabled: true
        readOnly: true
    }
    KTextField {
        adapter: page.screen.widget("socialType")
        enabled: true
        readOnly: true
    }
    KTextField { adapter: page.screen.widget("displayName") }
    KButton {
        adapter: page.screen.widget("updateDisplayName")
        highlighted: true
    }
    KButton {
        adapter: page.screen.widget("logout")
        Layout.topMargin: 24
        tint: "#f6d5d2"
    }
}
