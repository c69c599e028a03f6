import QtQuick

// An image that can flash to draw the eye to a reading that needs attention.
Item {
    id: _blinkImage

    property alias source: _image.source
    property bool blink: false
    property int blinkInterval: 500

    onBlinkChanged: {
        if (!blink)
            _image.visible = true;
    }

    Image {
        id: _image

        objectName: "_image"
        anchors.fill: parent
        fillMode: Image.PreserveAspectFit
        sourceSize: Qt.size(width, height)
        mipmap: true
    }

    Timer {
        interval: _blinkImage.blinkInterval
        repeat: true
        running: _blinkImage.blink
        onTriggered: _image.visible = !_image.visible
    }
}
