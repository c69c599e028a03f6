import QtQuick.Controls

DelayButton {
    font.pixelSize: basePixelSize * 0.9
}
