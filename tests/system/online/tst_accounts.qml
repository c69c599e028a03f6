import QtQuick
import QtTest
import globals
import "qrc:/"

// Choosing another car, and changing the password, against the development server.
SystemTestCase {
    id: _testCase

    readonly property string defaultPassword: "582901"

    name: "Accounts"

    function cleanup(): void {
        closeWindow();
    }

    function openPage(entry: string): var {
        const stack = findNamed("_mainStackView");
        const page = findNamed("_settingsPages").page(entry);
        stack.push(page);
        tryCompare(stack, "busy", false, 5000);
        compare(stack.currentItem, page);
        return page;
    }

    function changePassword(current: string, next: string): void {
        openPage("Menu_Users");
        findNamed("_currentPassword").text = current;
        findNamed("_newPassword").text = next;
        findNamed("_repeatPassword").text = next;
        mouseClick(findNamed("_changePasswordButton"));
        tryCompare(_testCase.window, "currentOperation", Globals.Login_Operation, 10000);
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "depth", 1, 5000);
        tryCompare(stack, "busy", false, 5000);
        compare(findNamed("_passwordField").text, "");
    }

    function logInAs(user: string, password: string): void {
        logIn(user, password);
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
    }

    function test_rootPicksItsThirdDevice() {
        openWindow();
        logInAs("root", defaultPassword);
        compare(_testCase.window.devices.length, 3);
        // What the settings banner's serial-number button sends.
        findNamed("_settingsMenu").changeDevice();
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        const list = findNamed("_deviceSelectionPage");
        compare(stack.currentItem, list);
        const row = list.itemAtIndex(2);
        verify(row);
        waitForRendering(list);
        mouseClick(row);
        tryCompare(stack, "busy", false, 5000);
        compare(stack.currentItem, findNamed("_dashboard"));
        compare(_testCase.window.currentDeviceIndex, 2);
        compare(Number(_testCase.window.currentDevice.imei), 358000000000003);
        compare(Number(findNamed("_liveData").device.imei), 358000000000003);
    }

    // The owner's password changes and changes back: the other tests log in with the default one.
    function test_passwordChangeLogsOut() {
        const user = "358000000000001";
        const next = "kova4321";
        openWindow();
        logInAs(user, defaultPassword);
        changePassword(defaultPassword, next);

        // The stored credentials are gone: the old password no longer opens the offline login.
        findNamed("_offlineCheck").checked = true;
        logIn(user, defaultPassword);
        tryCompare(findNamed("_mainTooltip"), "text", "نام کاربری یا کلمه عبور اشتباه است!", 5000);
        compare(_testCase.window.currentOperation, Globals.Login_Operation);
        findNamed("_offlineCheck").checked = false;

        findNamed("_mainTooltip").text = "";
        logIn(user, defaultPassword);
        tryCompare(findNamed("_mainTooltip"), "text", "نام کاربری یا کلمه عبور اشتباه است!", 10000);
        logInAs(user, next);
        changePassword(next, defaultPassword);
        logInAs(user, defaultPassword);
    }
}
