import QtQuick.Controls

CheckBox {
    font.pixelSize: basePixelSize * 0.9
}
