import QtQuick
import QtTest
import kova.testing
import "qrc:/qmlItems"

TestCase {
    id: _testCase

    // Set by any hostile notice that got to run.
    property bool reached: false

    function createMessage(): ServerMessage {
        return createTemporaryObject(_messageComponent, _testCase);
    }

    name: "ServerMessage"
    width: 400
    height: 600
    when: windowShown

    function init() {
        _testCase.reached = false;
    }

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
        ignoreWarning(/Server notice refused/);
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

    function test_titleIsPlainText_data() {
        return [
            { "tag": "plain", "title": "خبر" },
            { "tag": "line break markup", "title": "خبر<br>تازه" },
            { "tag": "image markup", "title": "<img src=\"https://example.org/a.png\" height=\"200\">خبر" }
        ];
    }

    function test_titleIsPlainText(data) {
        const message = createMessage();
        message.title = data.title;
        const title = findChild(message, "_title");
        compare(title.text, data.title);
        compare(title.lineCount, 1);
        verify(title.contentHeight < 100);
    }

    function test_showsContent_data() {
        return [
            { "tag": "text", "code": 'import QtQuick\nText { wrapMode: Text.WordWrap; text: "خبر تازه" }', "property": "text", "value": "خبر تازه" },
            { "tag": "label", "code": 'import QtQuick\nimport QtQuick.Controls\nLabel { padding: 10; horizontalAlignment: Text.AlignHCenter; text: "سلام" }', "property": "text", "value": "سلام" },
            { "tag": "image", "code": 'import QtQuick; Image { source: "https://example.org/a.png"; fillMode: Image.PreserveAspectFit }', "property": "source", "value": "https://example.org/a.png" },
            { "tag": "column", "code": 'import QtQuick\nimport QtQuick.Layouts\nColumnLayout { objectName: "box"; Text { text: "a" } Rectangle { Layout.fillWidth: true; height: 1 } }', "property": "objectName", "value": "box" }
        ];
    }

    function test_showsContent(data) {
        const message = createMessage();
        const fill = findChild(message, "_fillItem");
        message.qmlCode = data.code;
        verify(message.adjustItem);
        compare(String(message.adjustItem[data.property]), data.value);
        compare(message.adjustItem.parent, fill);
        compare(message.adjustItem.width, fill.width);
    }

    function test_opensWebLinksOnly_data() {
        return [
            { "tag": "https", "link": "https://example.org/news", "opened": true },
            { "tag": "http", "link": "http://example.org/", "opened": true },
            { "tag": "local file", "link": "file:///etc/passwd", "opened": false },
            { "tag": "mail", "link": "mailto:someone@example.org", "opened": false },
            { "tag": "script", "link": "javascript:Qt.quit()", "opened": false }
        ];
    }

    function test_opensWebLinksOnly(data) {
        const links = createTemporaryObject(_linksComponent, _testCase);
        const message = createMessage();
        message.qmlCode = 'import QtQuick\nColumn { Text { textFormat: Text.StyledText; text: "<a href=\\"' + data.link + '\\">link</a>" } }';
        const text = message.adjustItem.children[0];
        // Readable on the dark panel whatever colour the notice gave.
        compare(text.linkColor, Qt.color("#a4b8e8"));
        text.linkActivated(data.link);
        compare(links.links, data.opened ? [data.link] : []);
    }

    // Each of these ran with the window's powers before notices were checked; each now leaves
    // the area empty, and nothing of it runs.
    function test_refusesCode_data() {
        return [
            { "tag": "stored credentials", "code": 'import QtQuick; import mySettings; Item { Component.onCompleted: _testCase.reached = MySettings !== null }' },
            { "tag": "native tools", "code": 'import QtQuick; import kova.tools; Item { Tools { Component.onCompleted: _testCase.reached = true } }' },
            { "tag": "factory reset by SMS", "code": 'import QtQuick; import smsManager; import kova.tools; Item { SmsManager { Component.onCompleted: _testCase.reached = true } DeviceCommands {} }' },
            { "tag": "post anywhere", "code": 'import QtQuick; Item { Component.onCompleted: { _testCase.reached = true; new XMLHttpRequest() } }' },
            { "tag": "fake password field", "code": 'import QtQuick; import QtQuick.Controls; TextField { echoMode: TextInput.Password; width: 4000; height: 4000; Component.onCompleted: _testCase.reached = true }' },
            { "tag": "quit", "code": 'import QtQuick; Item { Component.onCompleted: _testCase.reached = true }' },
            { "tag": "endless loop", "code": 'import QtQuick; Item { width: { _testCase.reached = true; for (;;) {} } }' },
            { "tag": "gigabytes", "code": 'import QtQuick; Item { property var block: { _testCase.reached = true; return new ArrayBuffer(4e9) } }' },
            { "tag": "timer", "code": 'import QtQuick; Item { Timer { running: true; interval: 1; onTriggered: _testCase.reached = true } }' },
            { "tag": "window id", "code": 'import QtQuick; Text { text: _testCase.reached = true }' },
            { "tag": "local file image", "code": 'import QtQuick; Image { source: "file:///etc/hostname" }' },
            { "tag": "huge texture", "code": 'import QtQuick; Rectangle { width: 4000; height: 4000; layer.enabled: true }' }
        ];
    }

    function test_refusesCode(data) {
        const message = createMessage();
        const fill = findChild(message, "_fillItem");
        message.qmlCode = 'import QtQuick; Text { text: "old" }';
        ignoreWarning(/Server notice refused/);
        message.qmlCode = data.code;
        compare(message.adjustItem, null);
        tryCompare(fill.children, "length", 0);
        wait(20);
        verify(!_testCase.reached);
    }

    Component {
        id: _messageComponent

        ServerMessage {
            width: 250
            height: 300
        }
    }

    Component {
        id: _linksComponent

        OpenedLinks {}
    }
}
