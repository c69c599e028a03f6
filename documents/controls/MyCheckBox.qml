import QtQuick.Controls.Material

CheckBox {
    font.pixelSize: basePixelSize * 0.9
}
