import QtQuick.Controls.Material

Label {
    font.pixelSize: basePixelSize * 0.9
}
