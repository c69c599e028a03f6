import QtQuick
import QtTest
import kova.testing
import kova.tools
import "qrc:/"

TestCase {
    id: _testCase

    readonly property string downText: "اتصال اینترنت قطع می‌باشد!"

    function createPost(path: string, timeout: int): HttpPost {
        return createTemporaryObject(_postComponent, _testCase, {
            "url": _peer.url + path,
            "timeout": timeout
        });
    }

    function createSpy(target: QtObject, signalName: string): SignalSpy {
        return createTemporaryObject(_spyComponent, _testCase, {
            "target": target,
            "signalName": signalName
        });
    }

    function bodyOf(json: string): var {
        return _tools.xcrypt(json);
    }

    name: "HttpPost"
    when: _peer.listening

    function init() {
        _peer.clearRequests();
        if (!_peer.listening)
            _peer.listen();
    }

    function test_envelopeOnTheWire() {
        const post = createPost("/envelope", 5000);
        post.requestObject = {
            "command": "login",
            "username": "علی",
            "n": 3
        };
        post.post();
        tryCompare(_peer, "requestCount", 1);
        const request = _peer.requests[0];
        compare(request.method, "POST");
        compare(request.path, "/envelope");
        // Qt's request object appends its own charset parameter after the value it is given.
        verify(request.headers["content-type"].startsWith("application/json;"), request.headers["content-type"]);
        const expected = _tools.xcrypt(JSON.stringify(post.requestObject));
        compare(_tools.toBase64(request.body), _tools.toBase64(expected));
        compare(_tools.fromUtf8(_tools.xcrypt(request.body)), JSON.stringify(post.requestObject));
    }

    function test_reply_data() {
        return [
            {
                tag: "enciphered json",
                status: 200,
                body: bodyOf('{"isValid":true,"devices":[{"imei":"35"}]}'),
                outcome: "response"
            },
            {
                tag: "isValid false is still a response",
                status: 200,
                body: bodyOf('{"isValid":false,"errorText":"خطا"}'),
                outcome: "response"
            },
            {
                tag: "plain text",
                status: 200,
                body: "<html>hello</html>",
                outcome: "text"
            },
            {
                tag: "empty body",
                status: 200,
                body: "",
                outcome: "text"
            },
            {
                tag: "not found",
                status: 404,
                body: bodyOf('{"isValid":true}'),
                outcome: "خطای سرور (HTTP 404)"
            },
            {
                tag: "server error",
                status: 500,
                body: "oops",
                outcome: "خطای سرور (HTTP 500)"
            }
        ];
    }

    function test_reply(data) {
        _peer.setReply("/reply", {
            "status": data.status,
            "body": data.body
        });
        const post = createPost("/reply", 400);
        const responses = createSpy(post, "responseReady");
        const texts = createSpy(post, "textResponseReady");
        const errors = createSpy(post, "error");
        post.post();
        tryVerify(() => responses.count + texts.count + errors.count > 0, 3000);
        wait(50);
        if (data.outcome === "response") {
            compare(responses.count, 1);
            compare(texts.count + errors.count, 0);
            compare(JSON.stringify(responses.signalArguments[0][0]), _tools.fromUtf8(_tools.xcrypt(data.body)));
        } else if (data.outcome === "text") {
            compare(texts.count, 1);
            compare(responses.count + errors.count, 0);
            compare(texts.signalArguments[0][1], 200);
            compare(_tools.toBase64(texts.signalArguments[0][0]), _tools.toBase64(_tools.toUtf8(data.body)));
        } else {
            // An HTTP error says so at once, not through the time-out.
            compare(errors.count, 1);
            compare(responses.count + texts.count, 0);
            compare(post.errorText, data.outcome);
            compare(post.status, data.status);
        }
    }

    // Replies to app-interface commands reach responseReady only when they hold what the command's
    // users read, in the types they read; anything else is malformed and ends in error().
    function test_appInterfaceReply_data() {
        const login = '{"isValid":true,"devices":[{"imei":358000000000001,"simNumber":"09120000001","registered":true}]}';
        const deep = "[".repeat(100000) + "]".repeat(100000);
        return [
            { "tag": "login", "command": "login", "body": bodyOf(login), "valid": true },
            { "tag": "login with the serial number as digits", "command": "login", "body": bodyOf('{"isValid":true,"devices":[{"imei":"358000000000001"}]}'), "valid": true },
            { "tag": "refusal", "command": "login", "body": bodyOf('{"isValid":false,"errorText":"خطا"}'), "valid": true },
            { "tag": "isValid as the text false", "command": "login", "body": bodyOf('{"isValid":"false","devices":[{"imei":1}]}'), "valid": false },
            { "tag": "isValid as yes", "command": "login", "body": bodyOf('{"isValid":"yes","devices":[{"imei":1}]}'), "valid": false },
            { "tag": "errorText an object", "command": "login", "body": bodyOf('{"isValid":false,"errorText":{"a":1}}'), "valid": false },
            { "tag": "refusal without errorText", "command": "forgetPassword", "body": bodyOf('{"isValid":false}'), "valid": false },
            { "tag": "devices missing", "command": "login", "body": bodyOf('{"isValid":true}'), "valid": false },
            { "tag": "devices empty", "command": "login", "body": bodyOf('{"isValid":true,"devices":[]}'), "valid": false },
            { "tag": "devices a text", "command": "login", "body": bodyOf('{"isValid":true,"devices":"x"}'), "valid": false },
            { "tag": "serial number abc", "command": "login", "body": bodyOf('{"isValid":true,"devices":[{"imei":"abc"}]}'), "valid": false },
            { "tag": "registered as a text", "command": "login", "body": bodyOf('{"isValid":true,"devices":[{"imei":1,"registered":"true"}]}'), "valid": false },
            { "tag": "notice an object", "command": "login", "body": bodyOf('{"isValid":true,"devices":[{"imei":1}],"message":{}}'), "valid": false },
            { "tag": "status", "command": "getStatus", "body": bodyOf('{"isValid":true,"status":"AAAAAAAAAAAAAAAA","events":9,"doorTime":1710923103}'), "valid": true },
            { "tag": "status a number", "command": "getStatus", "body": bodyOf('{"isValid":true,"status":12}'), "valid": false },
            { "tag": "events a text", "command": "getStatus", "body": bodyOf('{"isValid":true,"status":"","events":"f"}'), "valid": false },
            { "tag": "second user name a number", "command": "login", "body": bodyOf('{"isValid":true,"devices":[{"imei":1}],"aliasUsername":7}'), "valid": false },
            { "tag": "SIM number accepted", "command": "setDeviceSimNumber", "body": bodyOf('{"isValid":true,"simNumber":"09120000002"}'), "valid": true },
            { "tag": "SIM number missing", "command": "setDeviceSimNumber", "body": bodyOf('{"isValid":true}'), "valid": false },
            { "tag": "SIM number a number", "command": "setDeviceSimNumber", "body": bodyOf('{"isValid":true,"simNumber":9120000002}'), "valid": false },
            { "tag": "alias code a text", "command": "setAliasUsername", "body": bodyOf('{"isValid":true,"errorCode":"0"}'), "valid": false },
            { "tag": "alias taken", "command": "setAliasUsername", "body": bodyOf('{"isValid":false,"errorCode":1,"errorText":"x"}'), "valid": true },
            { "tag": "configuration a list", "command": "appOpen", "body": bodyOf('{"isValid":true,"appConfigs":[1]}'), "valid": false },
            { "tag": "not enciphered", "command": "login", "body": login, "valid": false },
            { "tag": "empty", "command": "login", "body": "", "valid": false },
            { "tag": "random bytes", "command": "login", "body": "\u0001\u00ff\u0010garbage", "valid": false },
            { "tag": "null", "command": "login", "body": bodyOf("null"), "valid": false },
            { "tag": "deep nesting", "command": "login", "body": bodyOf(deep), "valid": false },
            { "tag": "over a mebibyte", "command": "appOpen", "body": bodyOf('{"isValid":true,"message":"' + "x".repeat(1100000) + '"}'), "valid": false }
        ];
    }

    function test_appInterfaceReply(data) {
        _peer.setReply("/command", {
            "status": 200,
            "body": data.body
        });
        const post = createPost("/command", 5000);
        post.requestObject = { "command": data.command };
        const responses = createSpy(post, "responseReady");
        const texts = createSpy(post, "textResponseReady");
        const errors = createSpy(post, "error");
        post.post();
        tryVerify(() => responses.count + texts.count + errors.count > 0, 3000);
        wait(50);
        compare(texts.count, 0);
        compare(responses.count, data.valid ? 1 : 0);
        compare(errors.count, data.valid ? 0 : 1);
        if (!data.valid)
            compare(post.errorText, post.malformedText);
    }

    // A second post does not restart the time-out: it still counts from the first, unanswered one.
    function test_timeoutCountsFromFirstPost() {
        _peer.setReply("/silent", {
            "silent": true
        });
        const post = createPost("/silent", 1000);
        const errors = createSpy(post, "error");
        post.post();
        wait(300);
        const secondPostAt = Date.now();
        post.post();
        errors.wait(2000);
        verify(Date.now() - secondPostAt < 1000, "time-out restarted by the second post");
        compare(post.errorText, "Timeout Error.");
        compare(_peer.requestCount, 2);
        wait(1200);
        compare(errors.count, 1);
    }

    function test_abortedRequestIsNeverDelivered_data() {
        return [
            {
                tag: "superseded by a new post",
                supersede: true
            },
            {
                tag: "given up by the time-out",
                supersede: false
            }
        ];
    }

    function test_abortedRequestIsNeverDelivered(data) {
        _peer.setReply("/late", {
            "body": bodyOf('{"isValid":true,"which":"late"}'),
            "delay": 400
        });
        _peer.setReply("/quick", {
            "body": bodyOf('{"isValid":true,"which":"quick"}')
        });
        const post = createPost("/late", data.supersede ? 5000 : 150);
        const responses = createSpy(post, "responseReady");
        const errors = createSpy(post, "error");
        post.post();
        tryCompare(_peer, "requestCount", 1);
        if (data.supersede) {
            post.url = _peer.url + "/quick";
            post.post();
            responses.wait(2000);
            compare(responses.signalArguments[0][0].which, "quick");
        } else {
            errors.wait(2000);
            compare(post.errorText, "Timeout Error.");
        }
        wait(700);
        compare(responses.count, data.supersede ? 1 : 0);
        compare(errors.count, data.supersede ? 0 : 1);
    }

    // One-shot requests die with their page, possibly while still waiting for a reply.
    function test_destroyedWhileWaitingStaysQuiet() {
        failOnWarning(/.*/);
        _peer.setReply("/late", {
            "body": bodyOf('{"isValid":true}'),
            "delay": 200
        });
        const post = _postComponent.createObject(_testCase, {
            "url": _peer.url + "/late"
        });
        post.post();
        tryCompare(_peer, "requestCount", 1);
        post.destroy();
        wait(500);
    }

    function test_transportFailure_data() {
        return [
            {
                tag: "connection refused",
                refuse: true
            },
            {
                tag: "connection dropped",
                refuse: false
            },
            {
                tag: "unusable url",
                refuse: false,
                url: "http://[::1"
            }
        ];
    }

    function test_transportFailure(data) {
        _peer.setReply("/drop", {
            "drop": true
        });
        const post = createPost("/drop", 600);
        const errors = createSpy(post, "error");
        if (data.url !== undefined)
            post.url = data.url;
        if (data.refuse)
            _peer.close();
        post.post();
        errors.wait(3000);
        compare(post.errorText, downText);
        // The failure stopped the time-out: no second error follows.
        wait(900);
        compare(errors.count, 1);
    }

    function test_givenUpRequestReleasesItsConnection_data() {
        return [
            { "tag": "time-out", "giveUp": post => wait(post.timeout + 200) },
            { "tag": "superseded", "giveUp": post => post.get() },
            { "tag": "item destroyed", "giveUp": post => post.destroy() }
        ];
    }

    // A server that stalls keeps every request it holds; the app's side must let each go at
    // once, or the host's few connections fill with dead requests and everything queues.
    function test_givenUpRequestReleasesItsConnection(data) {
        _peer.setReply("/stalled", {
            "silent": true
        });
        const post = createPost("/stalled", 400);
        post.get();
        tryCompare(_peer, "requestCount", 1);
        verify(!_peer.requests[0].connectionClosed);
        data.giveUp(post);
        tryVerify(() => _peer.requests[0].connectionClosed, 2000, "the stalled request still holds its connection");
    }

    // More stalled requests than a host gets connections, all given up: the next one still goes
    // out and is answered at once.
    function test_stallDoesNotStarveLaterRequests() {
        _peer.setReply("/stalled", {
            "silent": true
        });
        _peer.setReply("/answered", {
            "body": bodyOf('{"isValid":true}')
        });
        for (let i = 0; i < 8; ++i) {
            const stalled = createPost("/stalled", 200);
            const errors = createSpy(stalled, "error");
            stalled.get();
            tryCompare(_peer, "requestCount", i + 1, 2000, "stalled request " + (i + 1) + " never went out");
            errors.wait(1000);
        }
        const post = createPost("/answered", 2000);
        const responses = createSpy(post, "textResponseReady");
        post.get();
        responses.wait(1000);
    }

    TestHttpServer {
        id: _peer
    }

    Tools {
        id: _tools
    }

    Component {
        id: _postComponent

        HttpPost {}
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
