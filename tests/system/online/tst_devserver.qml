import QtQuick
import QtTest
import kova.tools
import smsManager
import "qrc:/"
import "qrc:/JsTools.js" as JsTools

// The app's request component, data channel and SMS service against the development server,
// seeded with the owner 358000000000001 / 582901 and his car's SIM 09120000001.
TestCase {
    id: _testCase

    readonly property real ownerImei: 358000000000001
    readonly property string ownerSim: "09120000001"

    function createSpy(target: QtObject, signalName: string): SignalSpy {
        return createTemporaryObject(_spyComponent, _testCase, {
            "target": target,
            "signalName": signalName
        });
    }

    // Posts one app-interface request and returns the parsed reply.
    function ask(request: var): var {
        const post = createTemporaryObject(_postComponent, _testCase, {
            "requestObject": request
        });
        const replies = createSpy(post, "responseReady");
        post.post();
        replies.wait(10000);
        return replies.signalArguments[0][0];
    }

    function passwordDigest(password: string): string {
        return _tools.toBase64(_tools.hashPass(password));
    }

    function latestSettings(): var {
        const replies = createSpy(_server, "settingsReply");
        _server.getSettings(_testCase.ownerImei);
        replies.wait(10000);
        return replies.signalArguments[0][0];
    }

    name: "DevelopmentServer"

    function test_appOpenIsAnswered() {
        const reply = ask({
            "command": "appOpen",
            "appName": "KovaApp",
            "os": Qt.platform.os,
            "appVersion": _tools.version()
        });
        verify(reply.isValid);
    }

    function test_baseAddressAnswersTheProbe() {
        const probe = createTemporaryObject(_postComponent, _testCase, {
            "url": _server.serverHostUrl
        });
        const answers = createSpy(probe, "textResponseReady");
        probe.get();
        answers.wait(10000);
        compare(answers.signalArguments[0][1], 200);
    }

    function test_login_data() {
        return [
            {
                "tag": "owner",
                "username": "358000000000001",
                "password": "582901",
                "valid": true
            },
            {
                "tag": "wrong password",
                "username": "358000000000001",
                "password": "582902",
                "valid": false
            },
            {
                "tag": "unknown user",
                "username": "nobody",
                "password": "582901",
                "valid": false
            }
        ];
    }

    function test_login(data) {
        const reply = ask({
            "command": "login",
            "username": data.username,
            "password": passwordDigest(data.password)
        });
        compare(reply.isValid, data.valid);
        if (!data.valid) {
            verify(reply.errorText.length > 0);
            return;
        }
        compare(reply.username, data.username);
        compare(reply.devices.length, 1);
        compare(reply.devices[0].imei, _testCase.ownerImei);
        compare(reply.devices[0].simNumber, _testCase.ownerSim);
        verify(reply.devices[0].registered);
    }

    function test_statusRecordDecodes() {
        const reply = ask({
            "command": "getStatus",
            "imei": _testCase.ownerImei
        });
        verify(reply.isValid);
        const status = _tools.parsStatus(reply.status);
        compare(Object.keys(status).length, 10);
        verify(status.battryPercent <= 100);
        compare(typeof reply.events, "number");
    }

    function test_aDayOfTripsIsCutIntoPaths() {
        const now = new Date();
        const start = new Date(Date.UTC(now.getUTCFullYear(), now.getUTCMonth(), now.getUTCDate() - 1));
        const end = new Date(start.getTime() + 86399000);
        const replies = createSpy(_server, "debriefingReply");
        _server.getDebriefingPath(_testCase.ownerImei, start, end);
        replies.wait(30000);
        const paths = _server.debriefingPath();
        const figures = _server.pathsAdvanceInfo();
        verify(paths.length >= 3, paths.length);
        compare(figures.length, paths.length);
        for (let i = 0; i < paths.length; ++i) {
            verify(Object.keys(paths[i]).length > 9);
            verify(figures[i].distance > 0);
            verify(figures[i].drivingTime > 0);
        }
    }

    // The frames the device has received, as the development server lists them.
    function receivedFrames(): var {
        const request = new XMLHttpRequest();
        request.open("GET", testEnvironment.smsGateway + "/frames?imei=" + _testCase.ownerImei);
        request.send();
        tryVerify(() => request.readyState === XMLHttpRequest.DONE, 5000);
        return JSON.parse(request.responseText).frames;
    }

    function test_powerCutFrameReachesTheSettingsRecord() {
        compare(latestSettings().sw3, 0);
        const before = receivedFrames().length;
        _sms.sendSms(_testCase.ownerSim, _commands.createDigitalOutputPacket(3, true));
        tryVerify(() => latestSettings().sw3 === 1, 15000);
        const frames = receivedFrames();
        compare(frames.length, before + 1);
        compare(frames[frames.length - 1], "[oribel,14,3,1]}]");
        _sms.sendSms(_testCase.ownerSim, _commands.createDigitalOutputPacket(3, false));
        tryVerify(() => latestSettings().sw3 === 0, 15000);
    }

    function test_offlineRequestIsAnsweredBySms() {
        const received = createSpy(_sms, "smsReceived");
        _sms.sendSms(_testCase.ownerSim, "[oribel,55]}]");
        received.wait(15000);
        const sender = received.signalArguments[0][0];
        verify(JsTools.comparePhoneNumber(sender, _testCase.ownerSim), sender);
        const answer = JSON.parse(received.signalArguments[0][1]);
        compare(answer.id, 55);
        compare(answer.info[0].length, 7);
        compare(answer.info[1].length, 11);
    }

    function test_shareTokenIsCreatedAndDropped() {
        const token = _tools.generateAccessToken();
        const created = ask({
            "command": "createShareToken",
            "IMEI": _testCase.ownerImei,
            "authToken": token,
            "password": "470385",
            "expireTimeValue": 2,
            "expireTimeUnit": 0
        });
        verify(created.isValid);
        compare(created.authToken, token);
        verify(created.expireTimestamp > Date.now());

        compare(ask({
            "command": "getShareToken",
            "IMEI": _testCase.ownerImei
        }).authToken, token);
        const dropped = ask({
            "command": "dropShareToken",
            "IMEI": _testCase.ownerImei
        });
        verify(dropped.isValid);
        compare(dropped.authToken, undefined);
        compare(ask({
            "command": "getShareToken",
            "IMEI": _testCase.ownerImei
        }).authToken, undefined);
    }

    Tools {
        id: _tools
    }

    Server {
        id: _server
    }

    SmsManager {
        id: _sms
    }

    DeviceCommands {
        id: _commands
    }

    Component {
        id: _postComponent

        HttpPost {
            url: _server.appInterfaceUrl
            timeout: 10000
        }
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
