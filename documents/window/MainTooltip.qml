import QtQuick
import QtQuick.Controls.Material
import "Style.js" as Style

// The window's one message line. Pages show a message with ToolTip's own show(text, timeout),
// which sets the time-out, then the text, then opens; offer() also gives the message a button
// that acts on it, gone with the next message.
ToolTip {
    id: _mainTooltip

    property string actionText: ""
    property var _action: null
    // The line never runs past the window's sides; a long message wraps.
    readonly property real _room: (parent ? parent.width : implicitWidth) - 2 * margins - leftPadding - rightPadding

    function offer(message: string, shownFor: int, buttonText: string, action: var): void {
        show(message, shownFor);
        actionText = buttonText;
        _action = action;
    }

    function takeAction(): void {
        const action = _action;
        close();
        if (typeof action === "function")
            action();
    }

    timeout: 3000
    onTextChanged: {
        actionText = "";
        _action = null;
    }
    contentItem: Row {
        LayoutMirroring.enabled: true
        spacing: _mainTooltip.padding

        Text {
            width: Math.min(implicitWidth, _mainTooltip._room - (_actionButton.visible ? _actionButton.width + parent.spacing : 0))
            anchors.verticalCenter: parent.verticalCenter
            text: _mainTooltip.text
            font: _mainTooltip.font
            wrapMode: Text.Wrap
            color: _mainTooltip.Material.foreground
        }

        Button {
            id: _actionButton
            objectName: "_tooltipAction"

            anchors.verticalCenter: parent.verticalCenter
            visible: _mainTooltip.actionText !== ""
            flat: true
            text: _mainTooltip.actionText
            font: _mainTooltip.font
            Material.foreground: Style.progressAccent
            onClicked: _mainTooltip.takeAction()
        }
    }
    background: Rectangle {
        color: "#dd071136"
        radius: 2
    }
}
