import QtQuick
import QtTest
import "qrc:/qmlItems"

TestCase {
    id: _testCase

    function createMessage(): ServerMessage {
        return createTemporaryObject(_messageComponent, _testCase);
    }

    name: "ServerMessage"
    width: 400
    height: 600
    when: windowShown

    function test_codeBuildsIntoTheContentArea() {
        const message = createMessage();
        const fill = findChild(message, "_fillItem");
        verify(fill);
        message.qmlCode = 'import QtQuick; Text { objectName: "notice"; text: "سلام" }';
        verify(message.adjustItem);
        compare(message.adjustItem.objectName, "notice");
        compare(message.adjustItem.parent, fill);

        const first = message.adjustItem;
        message.qmlCode = 'import QtQuick; Text { objectName: "notice"; text: "سلام" }';
        compare(message.adjustItem, first);

        message.qmlCode = 'import QtQuick; Rectangle { objectName: "second" }';
        compare(message.adjustItem.objectName, "second");
        tryCompare(fill.children, "length", 1);
    }

    function test_brokenCodeLeavesTheAreaEmpty() {
        const message = createMessage();
        const fill = findChild(message, "_fillItem");
        message.qmlCode = 'import QtQuick; Text { text: "old" }';
        ignoreWarning(/ServerMessage: cannot build the message/);
        message.qmlCode = "import QtQuick; Item { this is not declarative";
        compare(message.adjustItem, null);
        tryCompare(fill.children, "length", 0);
        message.open();
        tryCompare(message, "opened", true);
        message.close();
    }

    function test_closesOnEscapeOnly() {
        const message = createMessage();
        message.open();
        tryCompare(message, "opened", true);
        mouseClick(_testCase, 2, 2);
        verify(message.visible);
        keyClick(Qt.Key_Escape);
        tryCompare(message, "visible", false);
    }

    Component {
        id: _messageComponent

        ServerMessage {
            width: 250
            height: 300
        }
    }
}
