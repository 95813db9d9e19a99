import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// The application's one window: the screens the model shows, bottom first. A presented
// screen covers the ones below it; an alert lets them show through.
ApplicationWindow {
    id: appWindow
    width: 390
    height: 844
    minimumWidth: 320
    minimumHeight: 480
    visible: true
    title: "Kelpa"
    color: "white"

    Material.theme: Material.Light
    Material.primary: "#00695c"
    Material.accent: "#00897b"

    onWidthChanged: kelpaWindow.resize(width, height)
    onHeightChanged: kelpaWindow.resize(width, height)

    Repeater {
        model: kelpaWindow.layerModel
        delegate: Loader {
            id: layer
            required property QtObject screen
            required property string kind
            required property int index
            parent: appWindow.contentItem
            anchors.fill: parent
            z: index
            Component.onCompleted: {
                const file = kind === "alert" ? "components/AlertLayer.qml"
                           : kind === "imagePicker" ? "components/ImagePickerLayer.qml"
                           : "components/ScreenView.qml"
                setSource(file, { "screen": screen })
            }
        }
    }
}
