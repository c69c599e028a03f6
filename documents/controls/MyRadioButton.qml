import QtQuick.Controls

RadioButton {
    font.pixelSize: basePixelSize * 0.9
}
