import QtQuick
import QtQuick.Controls.Material

// A strip above the pages while the tracking server cannot be reached: it takes its own room
// instead of covering the top of the page and its clicks.
Rectangle {
    id: _offlineWarning

    required property bool shown

    implicitHeight: shown ? _text.implicitHeight + 8 : 0
    visible: shown
    // White on this red reads at 5.6:1.
    color: "#C62828"

    Label {
        id: _text

        anchors.centerIn: parent
        text: "اتصال اینترنت قطع می‌باشد!"
        color: "white"
    }
}
