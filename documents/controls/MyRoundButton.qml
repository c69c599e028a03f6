import QtQuick
import QtQuick.Controls.Material
import "../Style.js" as Style

// A bevelled round button: a disc with a gradient and, inside it, the same disc turned over.
RoundButton {
    id: _myRoundButton

    property color gradientColor1: Style.gradientLight
    property color gradientColor2: Style.gradientDark

    flat: true
    // The bevelled disc fills the whole button, under the hold ring of RoundDelayButton.
    topInset: 0
    bottomInset: 0
    leftInset: 0
    rightInset: 0
    font.pixelSize: basePixelSize * 0.9
    icon.source: "qrc:/graphics/checkmark.png"
    background: Rectangle {
        implicitWidth: 48
        implicitHeight: 48
        radius: width / 2
        rotation: -45
        gradient: _bevel

        property Gradient _bevel: Gradient {
            GradientStop {
                position: 0
                color: _myRoundButton.gradientColor1
            }
            GradientStop {
                position: 1
                color: _myRoundButton.gradientColor2
            }
        }

        Rectangle {
            anchors.fill: parent
            anchors.margins: parent.width * 0.05
            radius: width / 2
            rotation: 180
            gradient: parent._bevel
        }
    }
}
