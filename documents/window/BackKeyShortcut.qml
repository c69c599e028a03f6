import QtQuick

// Esc and Back take the window's back step, but only while no popup holds the focus: a popup
// that does closes on these keys as its own close policy says, and the step waits for the next
// press.
Shortcut {
    id: _backKeyShortcut

    // The window's popup layer and the item that has the keyboard focus.
    required property Item overlay
    required property Item focusItem

    function focusInPopup(): bool {
        for (let item = focusItem; item; item = item.parent) {
            if (item === overlay)
                return true;
        }
        return false;
    }

    context: Qt.ApplicationShortcut
    sequences: ["Esc", "Back"]
    enabled: !focusInPopup()
}
