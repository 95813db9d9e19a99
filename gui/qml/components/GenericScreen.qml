import QtQuick
import QtQuick.Layouts

// The page of a screen that has no page of its own yet: its widgets one under the other.
FormPage {
    id: page

    Repeater {
        model: page.screen.widgets
        Widget {
            required property QtObject modelData
            adapter: modelData
        }
    }
}
