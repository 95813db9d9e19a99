import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "../components"

FormPage {
    id: page

    KTextField { adapter: page.screen.widget("displayName") }
    KTextField {
        adapter: page.screen.widget("email")
        inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase
    }
    KTextField { adapter: page.screen.widget("password") }
    KButton {
        adapter: page.screen.widget("registrate")
        highlighted: true
        Layout.topMargin: 8
    }
}
