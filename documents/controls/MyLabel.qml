import QtQuick.Controls

Label {
    font.pixelSize: basePixelSize * 0.9
}
