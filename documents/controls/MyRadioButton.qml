import QtQuick.Controls.Material

RadioButton {
    font.pixelSize: basePixelSize * 0.9
}
