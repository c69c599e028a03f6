import QtQuick
import QtTest
import globals

// A tracking link made, copied and cancelled from the share page, as the server keeps it.
SystemTestCase {
    id: _testCase

    name: "Share"

    function cleanup(): void {
        closeWindow();
    }

    // The page's next reply, after `act` has posted.
    function replyTo(act: var): var {
        const replies = createTemporaryObject(_spyComponent, _testCase, {
            "target": findNamed("_shareRequest"),
            "signalName": "responseReady"
        });
        act();
        replies.wait(10000);
        return replies.signalArguments[0][0];
    }

    function test_linkIsMadeCopiedAndCancelled() {
        loggedInOwner();
        openLiveTracking();
        const page = findNamed("_shareLocationLoader").page();
        replyTo(() => mouseClick(findNamed("_btnShare")));
        compare(_testCase.window.currentOperation, Globals.ShareLocation_Operation);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        verify(findNamed("_creationView").visible, "no link yet");

        findNamed("_unitBox").currentIndex = 1;
        findNamed("_valueBox").currentIndex = 1;
        findNamed("_sharePasswordField").text = "9911";
        const created = replyTo(() => mouseClick(findNamed("_createLinkButton")));
        verify(created.isValid, created.errorText);
        const token = page.authToken;
        verify(/^[0-9a-f]{64}$/.test(token), String(token));
        verify(findNamed("_linkView").visible);
        verify(page.url.endsWith("/tracking/?imei=" + _testCase.ownerImei + "&authToken=" + token), page.url);
        // Two days from now, give or take the trip to the server.
        const days = (page.expireTimestamp.getTime() - Date.now()) / 86400000;
        verify(days > 1.99 && days <= 2, String(days));
        compare(findNamed("_passwordLine").text, "کلمه عبور: 9911");

        mouseClick(findNamed("_copyButton"));
        const pasted = createTemporaryObject(_pasteComponent, _testCase);
        pasted.paste();
        compare(pasted.text, page.url);
        compare(findNamed("_mainTooltip").text, "لینک رهگیری مسیر کپی شد.");

        page.authToken = undefined;
        compare(replyTo(() => page.getShareToken()).authToken, token, "the server keeps the link");
        verify(findNamed("_linkView").visible);

        replyTo(() => mouseClick(findNamed("_dropLinkButton")));
        verify(findNamed("_creationView").visible);
        compare(replyTo(() => page.getShareToken()).authToken, undefined, "the server forgot the link");
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }

    Component {
        id: _pasteComponent

        TextInput {}
    }
}
