import QtQuick
import QtQuick.Controls
import ".."

// A notice from the server: a title and a piece of interface source compiled at run time.
Popup {
    id: _serverMessage

    property string title: "عنوان"
    property string qmlCode: "Item{}"
    // Null until the first text arrives: the default text has no imports to compile with.
    property Item adjustItem: null

    // Replaces the content with the item built from qmlCode; code that does not compile leaves
    // the area empty.
    function _rebuild(): void {
        if (_serverMessage.adjustItem)
            _serverMessage.adjustItem.destroy();
        _serverMessage.adjustItem = null;
        try {
            _serverMessage.adjustItem = Qt.createQmlObject(_serverMessage.qmlCode, _fillItem, "serverMessage");
        } catch (e) {
            const errors = e.qmlErrors ? e.qmlErrors.map(err => err.lineNumber + ":" + err.columnNumber + ": " + err.message) : [String(e)];
            console.warn("ServerMessage: cannot build the message:", errors.join("; "));
        }
    }

    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    background: PlainPopupBackground {}
    onQmlCodeChanged: _rebuild()

    contentItem: Item {
        Item {
            id: _header

            height: 45
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right

            RoundButton {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                flat: true
                icon.source: "qrc:/graphics/close.png"
                onClicked: _serverMessage.close()
            }

            Label {
                anchors.left: parent.left
                anchors.leftMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: _serverMessage.title
                font.pointSize: 12
                font.bold: true
            }
        }

        Rectangle {
            id: _line

            height: 1
            anchors.top: _header.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            color: "grey"
        }

        Item {
            id: _fillItem

            objectName: "_fillItem"
            anchors.top: _line.bottom
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 5
            clip: true
        }
    }
}
