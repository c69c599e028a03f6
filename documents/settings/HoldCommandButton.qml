import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// A command to the car that fires only after a 2000 ms hold; a shorter press only says so.
MyDelayButton {
    id: _holdCommandButton

    property string holdHint
    property bool _fired: false

    delay: 2000
    Layout.fillWidth: true
    // A fired button would stay checked and ignore the next hold.
    onCheckedChanged: {
        if (checked)
            checked = false;
    }
    onPressed: _fired = false
    onActivated: _fired = true
    onReleased: {
        if (!_fired)
            _mainTooltip.show(holdHint, 3000);
    }

    // Drawn plainly: the style's elevation is an effect some renderers cannot draw, and the
    // whole background, the hold's progress with it, would be missing.
    background: Rectangle {
        implicitWidth: 64
        implicitHeight: _holdCommandButton.Material.buttonHeight
        radius: 2
        color: _holdCommandButton.Material.buttonColor(_holdCommandButton.Material.theme, _holdCommandButton.Material.background,
                                                      _holdCommandButton.Material.accent, _holdCommandButton.enabled, false, false, false)

        Rectangle {
            objectName: "_holdProgress"
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            width: parent.width * _holdCommandButton.progress
            height: 4
            color: _holdCommandButton.Material.accentColor
        }
    }
}
