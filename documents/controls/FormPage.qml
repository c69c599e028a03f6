import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import "qmlItems" as QmlItems

// A page of editors: its content in one column inset by `margin`, scrolling when it is taller
// than the page, with `bottomRoom` more below it beyond the margin.
Page {
    id: _formPage

    default property alias content: _column.data
    property int margin: 20
    property int bottomRoom: 0
    property alias columnSpacing: _column.spacing
    property alias scrollArea: _scrollArea

    QmlItems.MyScrollArea {
        id: _scrollArea

        anchors.fill: parent
        contentHeight: _column.implicitHeight + 2 * _formPage.margin + _formPage.bottomRoom

        ColumnLayout {
            id: _column

            x: _formPage.margin
            y: _formPage.margin
            width: _scrollArea.width - 2 * _formPage.margin
            spacing: 10
        }
    }
}
