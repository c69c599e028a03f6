import QtQuick.Controls.Material

DelayButton {
    font.pixelSize: basePixelSize * 0.9
}
