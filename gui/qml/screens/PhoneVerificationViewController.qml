import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "../components"

// Two steps: the number the code goes to, then the code from the text message.
FormPage {
    id: page

    KLabel { adapter: page.screen.widget("hint") }
    KTextField {
        adapter: page.screen.widget("phoneNumber")
        inputMethodHints: Qt.ImhDialableCharactersOnly
    }
    RowLayout {
        spacing: 12
        KButton { adapter: page.screen.widget("sendVerificationCode") }
        KBusy {
            adapter: page.screen.widget("sentCodeLoader")
            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
        }
    }
    KTextField {
        adapter: page.screen.widget("verificationCode")
        inputMethodHints: Qt.ImhDigitsOnly
        Layout.topMargin: 12
    }
    RowLayout {
        spacing: 12
        KButton {
            adapter: page.screen.widget("verifyButton")
            highlighted: true
        }
        KBusy {
            adapter: page.screen.widget("verifyLoader")
            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
        }
    }
}
