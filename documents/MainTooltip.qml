import QtQuick
import QtQuick.Controls

// The window's one message line: pages show a message with show(text, timeout).
ToolTip {
    id: _mainTooltip

    function show(text: string, timeout: int): void {
        _mainTooltip.timeout = timeout;
        _mainTooltip.text = text;
        _mainTooltip.open();
    }

    timeout: 3000
    background: Rectangle {
        color: "#dd071136"
        radius: 2
    }
}
