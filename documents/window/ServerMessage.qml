import QtQuick
import QtQuick.Controls.Material
import "../Style.js" as Style
import kova.tools
import ".."

// A notice from the server: a title and declarative content (text, images, links). The content
// is checked and built natively, where it reaches none of the window's objects or services.
Popup {
    id: _serverMessage

    property string title: "عنوان"
    property string qmlCode: "Item{}"
    // Null until the first text arrives: the default text has no imports to compile with.
    property Item adjustItem: null

    // Replaces the content with the item built from qmlCode; a text that is refused or does
    // not compile leaves the area empty.
    function _rebuild(): void {
        if (_serverMessage.adjustItem)
            _serverMessage.adjustItem.destroy();
        _serverMessage.adjustItem = null;
        const item = _noticeTools.createNotice(_serverMessage.qmlCode, _fillItem) as Item;
        if (!item)
            return;
        // Content has no bindings of its own: it is laid out in the area's width.
        item.width = Qt.binding(() => _fillItem.width);
        _connectLinks(item);
        _serverMessage.adjustItem = item;
    }

    // The content has no handlers of its own: its links reach only this popup, in the
    // accent's hue light enough to read on the panel.
    function _connectLinks(item: Item): void {
        const text = item as Text;
        if (text) {
            text.linkColor = Style.linkOnDark;
            text.linkActivated.connect(_serverMessage._openLink);
        }
        for (const child of item.children)
            _connectLinks(child);
    }

    function _openLink(link: string): void {
        const scheme = link.substring(0, link.indexOf(":")).toLowerCase();
        if (scheme === "http" || scheme === "https")
            Qt.openUrlExternally(link);
    }

    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    background: PlainPopupBackground {}
    onQmlCodeChanged: _rebuild()

    Tools {
        id: _noticeTools
    }

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
                objectName: "_title"

                anchors.left: parent.left
                anchors.leftMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: _serverMessage.title
                // The server's title is text: markup in it loads nothing and is shown as typed.
                textFormat: Text.PlainText
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
