import QtQuick.Layouts

// One number of a date or time picker: a list as tall as its row, with no padding to spare.
MyComboBox {
    Layout.fillHeight: true
    leftPadding: 0
    rightPadding: 0
}
