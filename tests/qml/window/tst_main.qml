import QtQuick
import QtTest
import kova.testing
import kova.tools

// Loads the real main document against a loopback peer standing in for the tracking server.
TestCase {
    id: _testCase

    property var window: null
    readonly property string notice: 'import QtQuick; Text { objectName: "notice"; text: "خبر" }'

    name: "MainDocument"
    when: _peer.listening

    function initTestCase() {
        verify(_server.serverHostUrl === _peer.url, "the documents must point at the loopback peer, not " + _server.serverHostUrl);
    }

    function cleanup() {
        if (window)
            window.destroy();
        window = null;
    }

    function test_loadsWithoutWarningsAndAnnouncesAppOpen() {
        failOnWarning(/.*/);
        _peer.setReply("/", {
            "body": "<html>tracking</html>"
        });
        _peer.setReply("/kova/appInterface.php", {
            "body": _tools.xcrypt(JSON.stringify({
                "isValid": true,
                "title": "اطلاعیه",
                "message": notice,
                "appConfigs": {
                    "support_tels": "02100000000;02111111111",
                    "trackingurl": "http://127.0.0.1/tracking/"
                }
            }))
        });

        const component = Qt.createComponent("qrc:/main.qml");
        compare(component.status, Component.Ready, component.errorString());
        window = component.createObject(null);
        verify(window);
        compare(window.currentOperation, 0);

        tryVerify(() => _peer.requests.some(r => r.path === "/kova/appInterface.php"), 5000);
        const request = _peer.requests.find(r => r.path === "/kova/appInterface.php");
        compare(request.method, "POST");
        const sent = JSON.parse(_tools.fromUtf8(_tools.xcrypt(request.body)));
        compare(sent, {
            "command": "appOpen",
            "appName": "KovaApp",
            "os": Qt.platform.os,
            "appVersion": _tools.version(),
            "version_major": _tools.version_major(),
            "version_minor": _tools.version_minor(),
            "version_patch": _tools.version_patch()
        });

        tryVerify(() => window.appConfigs.trackingurl === "http://127.0.0.1/tracking/", 5000);
        compare(window.appConfigs.support_tels, "02100000000;02111111111");
        tryVerify(() => findChild(window, "notice") !== null, 5000);
        tryVerify(() => findChild(window, "notice").visible, 5000);

        // Late warnings (images, fonts, the reachability probe) would show up here.
        wait(300);
    }

    function test_invalidReplyChangesNothing() {
        failOnWarning(/.*/);
        _peer.setReply("/kova/appInterface.php", {
            "body": _tools.xcrypt(JSON.stringify({
                "isValid": false,
                "errorText": "خطا",
                "message": notice,
                "appConfigs": {
                    "trackingurl": "x"
                }
            }))
        });
        _peer.clearRequests();
        window = Qt.createComponent("qrc:/main.qml").createObject(null);
        tryVerify(() => _peer.requests.some(r => r.path === "/kova/appInterface.php"), 5000);
        wait(300);
        compare(window.appConfigs, {});
        compare(findChild(window, "notice"), null);
    }

    Server {
        id: _server
    }

    Tools {
        id: _tools
    }

    // Takes the port of the loopback address that the test runner gave the documents.
    TestHttpServer {
        id: _peer

        port: Number(_server.serverHostUrl.split(":").pop())
    }
}
