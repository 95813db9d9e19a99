import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "../components"

// Joining a group by its two secret words.
FormPage {
    id: page

    KLabel { adapter: page.screen.widget("hint") }
    KTextField { adapter: page.screen.widget("wordOne") }
    KTextField { adapter: page.screen.widget("wordTwo") }
    RowLayout {
        spacing: 12
        KButton {
            adapter: page.screen.widget("join")
            highlighted: true
        }
        KBusy {
            adapter: page.screen.widget("status")
            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
        }
    }
}
