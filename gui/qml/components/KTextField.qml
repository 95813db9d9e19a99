import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts

// A text field. Typing goes to the model as it happens; focus is the model's editing: taking
// the focus begins editing, and when the model ends editing (a tap outside, say) the focus goes.
TextField {
    id: field
    property QtObject adapter
    objectName: adapter.name
    text: adapter.text
    placeholderText: adapter.placeholder
    echoMode: adapter.secure ? TextInput.Password : TextInput.Normal
    visible: adapter.visible
    enabled: adapter.enabled
    opacity: adapter.opacity
    selectByMouse: true
    Layout.fillWidth: true
    Accessible.name: adapter.accessibleName

    onTextEdited: adapter.setText(text)
    onActiveFocusChanged: {
        if (activeFocus) adapter.beginEditing()
        else if (adapter.editing) adapter.endEditing()
    }
    Keys.onReturnPressed: nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
    Keys.onEnterPressed: nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)

    // The placeholder names the field; once there is text it stays readable above it.
    Label {
        x: field.leftPadding
        y: -8
        visible: field.text.length > 0 && field.placeholderText.length > 0
        text: field.placeholderText
        font.pixelSize: 11
        color: field.activeFocus ? field.Material.accent : field.Material.hintTextColor
        Accessible.ignored: true
    }

    Connections {
        target: field.adapter
        function onChanged() {
            if (!field.adapter.editing && field.activeFocus) field.focus = false
            else if (field.adapter.editing && !field.activeFocus && field.visible) field.forceActiveFocus()
        }
    }
}
