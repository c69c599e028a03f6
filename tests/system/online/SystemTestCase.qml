import QtQuick
import QtTest
import globals

// The real main window against the development server, used as a person would: fields filled,
// buttons clicked and held, keys pressed; checked through the window's state, what it shows and
// what the car received. The system tests derive from this case.
TestCase {
    id: _testCase

    readonly property real ownerImei: 358000000000001
    property var window: null

    function findNamed(name: string): var {
        const found = findChild(_testCase.window, name);
        verify(found, name);
        return found;
    }

    function openWindow(): void {
        const component = Qt.createComponent("qrc:/main.qml");
        compare(component.status, Component.Ready, component.errorString());
        _testCase.window = component.createObject(null, {
            "width": 420,
            "height": 760
        });
        tryVerify(() => _testCase.window.visible && _testCase.window.width > 0, 10000);
        waitForRendering(_testCase.window.contentItem);
    }

    function logIn(user: string, password: string): void {
        findNamed("_userField").text = user;
        findNamed("_passwordField").text = password;
        mouseClick(findNamed("_loginButton"));
    }

    function receivedFrames(): var {
        return receivedFramesOf(_testCase.ownerImei);
    }

    function receivedFramesOf(imei: real): var {
        const request = new XMLHttpRequest();
        request.open("GET", testEnvironment.smsGateway + "/frames?imei=" + imei);
        request.send();
        tryVerify(() => request.readyState === XMLHttpRequest.DONE, 5000);
        return JSON.parse(request.responseText).frames;
    }

    // True once the car has received `frame` as its next frame after the first `count`.
    function receivedNext(count: int, frame: string): bool {
        const frames = receivedFrames();
        return frames.length > count && frames[count] === frame;
    }

    // The simulated cars ignore frames of these codes from now on (comma-separated; "" for none).
    function refuse(codes: string): void {
        const request = new XMLHttpRequest();
        request.open("POST", testEnvironment.smsGateway.replace(/\/sms$/, "/control/refuse?codes=" + codes));
        request.send();
        tryVerify(() => request.readyState === XMLHttpRequest.DONE, 5000);
        compare(request.status, 200);
    }

    // Holds a hold-to-fire button down for `ms` as a finger would.
    function hold(button: Item, ms: int): void {
        mousePress(button);
        wait(ms);
        mouseRelease(button);
    }

    function loggedInOwner(): void {
        openWindow();
        logIn("358000000000001", "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        // The stack takes no input while the dashboard slides in.
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
    }

    // Live tracking as the user opens it: a click on the dashboard's map.
    function openLiveTracking(): var {
        mouseClick(findNamed("_miniMap"));
        compare(_testCase.window.currentOperation, Globals.LiveTracking_Operation);
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        const map = findNamed("_map");
        compare(stack.currentItem, map);
        return map;
    }

    // Opens a drop-down list and clicks its entry `index`, as a finger would.
    function choose(comboBox: var, index: int): void {
        // A list just shown may not be laid out yet: a click would land where it is not.
        tryVerify(() => comboBox.visible && comboBox.width > 0, 3000);
        waitForRendering(comboBox);
        mouseClick(comboBox);
        tryVerify(() => comboBox.popup.opened, 3000);
        const list = comboBox.popup.contentItem;
        list.positionViewAtIndex(index, ListView.Contain);
        const entry = list.itemAtIndex(index);
        verify(entry, "entry " + index);
        mouseClick(entry);
        tryVerify(() => !comboBox.popup.visible, 3000);
        compare(comboBox.currentIndex, index);
    }

    // The first visible button under `item` that reads `text`.
    function buttonWithText(item: var, text: string): var {
        for (const child of item.children) {
            if (child.visible && child.text === text && child.clicked !== undefined)
                return child;
            const found = buttonWithText(child, text);
            if (found)
                return found;
        }
        return null;
    }

    function closeWindow(): void {
        if (_testCase.window)
            _testCase.window.destroy();
        _testCase.window = null;
        wait(50);
    }
}
