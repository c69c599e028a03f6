import QtQuick
import QtTest
import kova.testing
import kova.tools
import "qrc:/"
import "qrc:/ShareLink.js" as ShareLink

// The share page against a scripted server: what it asks, what it shows, what it keeps.
Item {
    id: _mainWindow

    readonly property string interfacePath: "/kova/appInterface.php"
    property int basePixelSize: 14

    width: 400
    height: 700

    FontLoader {
        id: _font
    }

    TestHttpServer {
        id: _peer
    }

    Tools {
        id: _tools
    }

    QtObject {
        id: _server

        property string appInterfaceUrl: _peer.url + _mainWindow.interfacePath
    }

    QtObject {
        id: _mainTooltip

        property string text

        function show(text: string, timeout: int): void {
            _mainTooltip.text = text;
        }
    }

    ShareLocation {
        id: _page

        anchors.fill: parent
        imei: "358000000000001"
    }

    TestCase {
        id: _testCase

        name: "ShareLocation"
        when: windowShown

        function reply(object: var): void {
            _peer.setReply(_mainWindow.interfacePath, { "body": _tools.xcrypt(JSON.stringify(object)) });
        }

        function lastRequest(): var {
            return JSON.parse(_tools.fromUtf8(_tools.xcrypt(_peer.requests[_peer.requestCount - 1].body)));
        }

        // Posts through `act` and waits for the page to take the reply.
        function answer(object: var, act: var): void {
            reply(object);
            const before = _peer.requestCount;
            act();
            tryCompare(_peer, "requestCount", before + 1);
            wait(50);
        }

        function init(): void {
            _page.imei = "358000000000001";
            _page.trackingUrl = undefined;
            _page.authToken = undefined;
            _page.expireTimestamp = undefined;
            _mainTooltip.text = "";
            _peer.clearRequests();
        }

        function test_createRequest_data() {
            return [
                { "tag": "one hour", "unit": 0, "index": 0, "value": 1, "unitSent": 0 },
                { "tag": "24 hours", "unit": 0, "index": 23, "value": 24, "unitSent": 0 },
                { "tag": "3 days", "unit": 1, "index": 2, "value": 3, "unitSent": 1 },
                { "tag": "7 days", "unit": 1, "index": 6, "value": 7, "unitSent": 1 }
            ];
        }

        function test_createRequest(data) {
            const unitBox = findChild(_page, "_unitBox");
            const valueBox = findChild(_page, "_valueBox");
            unitBox.currentIndex = data.unit;
            compare(valueBox.count, data.unit === 0 ? 24 : 7);
            valueBox.currentIndex = data.index;
            findChild(_page, "_sharePasswordField").text = "1234";
            answer({ "isValid": true, "authToken": "abc_1-2", "expireTimestamp": 1710923100000 }, () => mouseClick(findChild(_page, "_createLinkButton")));
            const sent = lastRequest();
            compare(sent.command, "createShareToken");
            compare(sent.IMEI, "358000000000001");
            compare(sent.expireTimeValue, data.value);
            compare(sent.expireTimeUnit, data.unitSent);
            compare(sent.password, "1234");
            verify(/^[0-9a-f]{64}$/.test(sent.authToken), sent.authToken);
            compare(_page.storedPassword, "1234");
            verify(findChild(_page, "_linkView").visible);
        }

        function test_link_data() {
            return [
                { "tag": "server's page", "trackingUrl": "https://t.example/track/", "expected": "https://t.example/track/?imei=358000000000001&authToken=tok" },
                { "tag": "no page named", "trackingUrl": undefined, "expected": ShareLink.defaultBase + "?imei=358000000000001&authToken=tok" },
                { "tag": "empty page", "trackingUrl": "", "expected": ShareLink.defaultBase + "?imei=358000000000001&authToken=tok" }
            ];
        }

        function test_link(data) {
            _page.trackingUrl = data.trackingUrl;
            answer({ "isValid": true, "authToken": "tok" }, () => _page.getShareToken());
            compare(_page.url, data.expected);
            compare(findChild(_page, "_urlText").text, data.expected);
        }

        // Every reply leaves the page in a state its views can show; refusals change nothing.
        function test_replies_data() {
            return [
                { "tag": "token and time in ms", "reply": { "isValid": true, "authToken": "t1", "expireTimestamp": 1710923100000 }, "token": "t1", "expiry": "اعتبار تا : 08:25 01-01-1403", "tooltip": "" },
                { "tag": "time as text", "reply": { "isValid": true, "authToken": "t1", "expireTimestamp": "2024-03-20T08:25:00Z" }, "token": "t1", "expiry": "اعتبار تا : 08:25 01-01-1403", "tooltip": "" },
                { "tag": "no link yet", "reply": { "isValid": true }, "token": undefined, "expiry": "اعتبار تا :  ", "tooltip": "" },
                { "tag": "time that is no date", "reply": { "isValid": true, "authToken": "t1", "expireTimestamp": "soon" }, "token": "t1", "expiry": "اعتبار تا :  ", "tooltip": "" },
                { "tag": "refused", "reply": { "isValid": false, "errorText": "لینک منقضی شده است" }, "token": undefined, "expiry": "اعتبار تا :  ", "tooltip": "لینک منقضی شده است" },
                { "tag": "token that breaks the link", "reply": { "isValid": true, "authToken": "x&imei=1" }, "token": undefined, "expiry": "اعتبار تا :  ", "tooltip": "پاسخ سرور نامعتبر است!" },
                { "tag": "time as an object", "reply": { "isValid": true, "authToken": "t1", "expireTimestamp": {} }, "token": undefined, "expiry": "اعتبار تا :  ", "tooltip": "پاسخ سرور نامعتبر است!" }
            ];
        }

        function test_replies(data) {
            answer(data.reply, () => _page.getShareToken());
            compare(_page.authToken, data.token);
            compare(findChild(_page, "_linkView").visible, data.token !== undefined);
            compare(findChild(_page, "_creationView").visible, data.token === undefined);
            compare(ShareLink.expiryLine(_page.expireTimestamp), data.expiry);
            compare(_mainTooltip.text, data.tooltip);
        }

        function test_secondVisitAsksNothing() {
            answer({ "isValid": true, "authToken": "t1" }, () => _page.getShareToken());
            _page.getShareToken();
            wait(100);
            compare(_peer.requestCount, 1);
        }

        function test_dropReturnsTheCreationView() {
            answer({ "isValid": true, "authToken": "t1" }, () => _page.getShareToken());
            answer({ "isValid": true }, () => mouseClick(findChild(_page, "_dropLinkButton")));
            compare(lastRequest().command, "dropShareToken");
            compare(_page.authToken, undefined);
            verify(findChild(_page, "_creationView").visible);
        }

        // Another car's serial number must never be joined to this car's token.
        function test_deviceSwitchForgetsTheLink() {
            answer({ "isValid": true, "authToken": "t1", "expireTimestamp": 1710923100000 }, () => _page.getShareToken());
            _page.imei = "358000000000003";
            compare(_page.authToken, undefined);
            compare(_page.expireTimestamp, undefined);
            answer({ "isValid": true, "authToken": "t3" }, () => _page.getShareToken());
            compare(lastRequest().IMEI, "358000000000003");
            compare(_page.url, ShareLink.defaultBase + "?imei=358000000000003&authToken=t3");
        }

        // Each new link is offered a password of its own, in clear: six digits, never a constant
        // shared by every phone.
        function test_newLinkPassword() {
            const field = findChild(_page, "_sharePasswordField");
            const seen = [];
            for (let visit = 0; visit < 3; ++visit) {
                answer({ "isValid": true, "authToken": "t1" }, () => _page.getShareToken());
                answer({ "isValid": true }, () => mouseClick(findChild(_page, "_dropLinkButton")));
                verify(/^[0-9]{6}$/.test(field.text), field.text);
                verify(!seen.includes(field.text), field.text);
                seen.push(field.text);
            }
            verify(!seen.includes("470385"));
            compare(field.echoMode, TextInput.Normal);
        }

        // The link's password is shown and shared only when this phone made the link; a link made
        // elsewhere gets the offer of a new one.
        function test_knownPassword_data() {
            return [
                { "tag": "made here", "token": "mine", "line": "کلمه عبور: 246810", "known": true },
                { "tag": "made on another phone since", "token": "theirs", "line": "کلمه عبور این لینک در این گوشی ثبت نشده است.", "known": false }
            ];
        }

        function test_knownPassword(data) {
            _page.mobilePlatform = true;
            answer({ "isValid": true }, () => _page.getShareToken());
            findChild(_page, "_sharePasswordField").text = "246810";
            answer({ "isValid": true, "authToken": "mine" }, () => mouseClick(findChild(_page, "_createLinkButton")));
            _page.authToken = undefined;
            answer({ "isValid": true, "authToken": data.token }, () => _page.getShareToken());
            compare(findChild(_page, "_passwordLine").text, data.line);
            compare(findChild(_page, "_shareButton").visible, data.known);
            compare(findChild(_page, "_newLinkButton").visible, !data.known);
            if (!data.known) {
                mouseClick(findChild(_page, "_newLinkButton"));
                verify(findChild(_page, "_creationView").visible);
                verify(/^[0-9]{6}$/.test(findChild(_page, "_sharePasswordField").text));
            }
            _page.mobilePlatform = false;
        }

        function test_shareText() {
            const date = new Date(Date.UTC(2024, 2, 20, 8, 5));
            compare(ShareLink.shareText("L", "pw", date), "ردیاب اوریبل\n        L\n        کلمه عبور: pw\n        اعتبار تا : 08:05 01-01-1403");
        }
    }
}
