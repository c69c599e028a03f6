import QtQuick
import QtTest
import globals
import "qrc:/"

// The first-login setup of the seeded unregistered device, which stays registered afterwards:
// no other test may count on an unregistered device.
SystemTestCase {
    id: _testCase

    readonly property string newcomer: "358000000000002"

    name: "Setup"

    function cleanup(): void {
        closeWindow();
    }

    function test_firstLoginSetupRegistersTheDevice() {
        openWindow();
        logIn(newcomer, "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.NewLoginSetting_Operation, 15000);
        const stack = findNamed("_mainStackView");
        compare(stack.depth, 2);
        tryCompare(stack, "busy", false, 5000);
        compare(findNamed("_simField").text, "09120000002");

        const alias = findNamed("_aliasField");
        mouseClick(findChild(alias, "_editButton"));
        compare(alias.state, "edit");
        alias.editText = "newcomer7";
        mouseClick(findChild(alias, "_applyButton"));
        tryCompare(alias, "text", "newcomer7", 10000);

        findNamed("_nameField").text = "سارا";
        findNamed("_lastNameField").text = "نوری";
        findNamed("_phoneField").text = "۰۹۱۳۷۷۷۸۸۹۹";
        findNamed("_modelField").text = "تیبا";
        const scrollArea = findNamed("_setupScrollArea");
        scrollArea.contentY = scrollArea.contentHeight - scrollArea.height;
        const save = findNamed("_setupSaveButton");
        waitForRendering(scrollArea);
        mouseClick(save);

        tryCompare(_testCase.window, "currentOperation", Globals.Login_Operation, 15000);
        tryCompare(stack, "depth", 1, 5000);
        compare(findNamed("_mainTooltip").text, "اطلاعات شما ثبت شد. لطفا مجددا وارد شوید.");
        tryCompare(stack, "busy", false, 5000);

        // Registered now: the owner goes to the dashboard, by the new user name too.
        logIn("newcomer7", "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        compare(_testCase.window.currentDevice.registered, true);
        compare(_testCase.window.currentDevice.ownerPhoneNumber, "09137778899");
    }
}
