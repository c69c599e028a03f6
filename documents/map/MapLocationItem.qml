import QtQuick
import QtQuick.Shapes
import QtLocation as QL
import QtPositioning

// The car marker: it glides to each new position and pulses while positions keep coming, so a
// marker that has heard nothing for 10 s stands still.
QL.MapQuickItem {
    id: _locationItem

    // Writing it glides the marker there.
    property geoCoordinate coordWithAnimation
    property color color: Qt.rgba(0.3, 1, 0.3, 1)
    property real rotate: 0
    property bool arrowVisible: false
    // Where the white ring of the pulse sits, from the centre (0) to the rim (1).
    property real pulseStop: _restingStop
    readonly property real _restingStop: 0.8
    readonly property bool pulsing: _pulse.running

    signal clicked

    // Pulses for 10 s while on screen: a hidden marker would keep the window drawing.
    function relive(): void {
        if (!visible)
            return;
        if (!_pulse.running)
            _pulse.start();
        _pulseTimeout.restart();
    }

    onVisibleChanged: {
        if (!visible)
            _pulse.stop();
    }

    onCoordWithAnimationChanged: {
        _glide.stop();
        if (!coordWithAnimation.isValid)
            return;
        _glide.from = coordinate;
        _glide.to = coordWithAnimation;
        _glide.start();
    }

    anchorPoint.x: 30
    anchorPoint.y: 30
    coordinate: QtPositioning.coordinate(0, 0)
    sourceItem: Item {
        width: 60
        height: 60

        Shape {
            anchors.fill: parent

            ShapePath {
                strokeWidth: -1
                strokeColor: "transparent"
                fillGradient: RadialGradient {
                    centerX: 30
                    centerY: 30
                    centerRadius: 30
                    focalX: 30
                    focalY: 30

                    GradientStop {
                        position: 0
                        color: "transparent"
                    }
                    GradientStop {
                        position: _locationItem.pulseStop
                        color: Qt.alpha(_locationItem.color, 0.5)
                    }
                    GradientStop {
                        position: _locationItem.pulseStop + 0.001
                        color: Qt.rgba(1, 1, 1, 0.6)
                    }
                    GradientStop {
                        position: _locationItem.pulseStop + 0.02
                        color: Qt.rgba(1, 1, 1, 0.6)
                    }
                    GradientStop {
                        position: _locationItem.pulseStop + 0.02001
                        color: "transparent"
                    }
                }

                PathAngleArc {
                    centerX: 30
                    centerY: 30
                    radiusX: 30
                    radiusY: 30
                    sweepAngle: 360
                }
            }
        }

        Rectangle {
            anchors.centerIn: parent
            width: 10
            height: 10
            radius: 5
            visible: !_locationItem.arrowVisible
            color: "black"
            border.color: "white"
            border.width: 1
        }

        Image {
            anchors.fill: parent
            anchors.margins: 3 * _locationItem.pulseStop + 12
            visible: _locationItem.arrowVisible
            opacity: 0.7
            rotation: _locationItem.rotate
            source: "qrc:/graphics/arrow.png"
            sourceSize: Qt.size(72, 72)
            fillMode: Image.PreserveAspectFit
            smooth: true
        }

        TapHandler {
            onTapped: _locationItem.clicked()
        }
    }

    NumberAnimation {
        id: _pulse

        target: _locationItem
        property: "pulseStop"
        from: 0
        to: _locationItem._restingStop
        duration: 700
        easing.type: Easing.OutQuad
        loops: Animation.Infinite
        onStopped: _locationItem.pulseStop = _locationItem._restingStop
    }

    Timer {
        id: _pulseTimeout

        interval: 10000
        onTriggered: _pulse.stop()
    }

    CoordinateAnimation {
        id: _glide

        target: _locationItem
        property: "coordinate"
        duration: 500
    }
}
