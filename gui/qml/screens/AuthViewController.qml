import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import "../components"

// Sign-in: the map around the device's position above the form.
Item {
    id: page
    property QtObject screen

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: width
        contentHeight: content.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar { }

        MouseArea {
            z: -1
            width: flick.width
            height: Math.max(flick.height, flick.contentHeight)
            onPressed: page.screen.tapOutside()
        }

        ColumnLayout {
            id: content
            width: flick.width
            spacing: 0

            TileMap {
                adapter: page.screen.widget("map")
                Layout.fillWidth: true
                Layout.preferredHeight: Math.max(200, Math.min(340, page.height * 0.4))
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.maximumWidth: 440
                Layout.alignment: Qt.AlignHCenter
                Layout.margins: 24
                spacing: 12

                KLabel {
                    adapter: page.screen.widget("heading")
                    font.pixelSize: 34
                    font.weight: Font.Bold
                    color: Material.primary
                    horizontalAlignment: Text.AlignHCenter
                    Accessible.role: Accessible.Heading
                }
                KTextField {
                    adapter: page.screen.widget("email")
                    inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase
                }
                KTextField { adapter: page.screen.widget("password") }
                KButton {
                    adapter: page.screen.widget("login")
                    highlighted: true
                }
                KButton {
                    adapter: page.screen.widget("facebookLogin")
                    tint: "#1877f2"
                    Material.foreground: "white"
                }
                KButton {
                    adapter: page.screen.widget("twitterLogin")
                    tint: "#1d9bf0"
                    Material.foreground: "white"
                }
                KButton {
                    adapter: page.screen.widget("registration")
                    flat: true
                }
            }
        }
    }

    KBusy {
        adapter: page.screen.widget("loadingAnimation")
        anchors.centerIn: parent
        width: 64
        height: 64
    }
}
