import QtQuick
import QtQuick.Controls

// The window's one line for short messages; pages show a text in it for a while.
ToolTip {
    id: _tooltip

    function show(text: string, timeout: int): void {
        _tooltip.timeout = timeout;
        _tooltip.text = text;
        _tooltip.open();
    }

    timeout: 3000
    background: Rectangle {
        color: "#dd071136"
        radius: 2
    }
}
