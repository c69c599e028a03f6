import QtQuick
import QtQuick.Controls

// Text-size step of the whole interface.
Page {
    property int currentIndex: 1
}
