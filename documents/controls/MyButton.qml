import QtQuick.Controls.Material
import QtQuick.Layouts

Button {
    font.family: _font.name
    font.pixelSize: basePixelSize * 0.9
    highlighted: true
    Layout.maximumHeight: 48
    Material.roundedScale: Material.NotRounded
}
