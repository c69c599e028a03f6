import QtQuick.Controls.Material

// The "/" or ":" between the numbers of a date or time picker.
Label {
    font.pointSize: 15
    font.bold: true
}
