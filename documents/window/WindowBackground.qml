import QtQuick
import QtQuick.Shapes
import "Style.js" as Style

// The window's backdrop: a radial gradient from the middle, light to dark.
Shape {
    id: _windowBackground

    ShapePath {
        strokeWidth: -1
        strokeColor: "transparent"
        fillGradient: RadialGradient {
            centerX: _windowBackground.width / 2
            centerY: _windowBackground.height / 2
            focalX: centerX
            focalY: centerY
            centerRadius: Math.max(_windowBackground.width, _windowBackground.height)
            focalRadius: 0

            GradientStop {
                position: 0.0
                color: Style.gradientLight
            }
            GradientStop {
                position: 0.5
                color: Style.gradientDark
            }
        }

        PathRectangle {
            width: _windowBackground.width
            height: _windowBackground.height
        }
    }
}
