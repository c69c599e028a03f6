import QtQuick
import QtTest
import globals
import commandJournal

// Every command followed to its end against the development server: what the car did is told
// at once and kept in the journal, and so is what it never did.
SystemTestCase {
    id: _testCase

    readonly property string ownerSerial: "358000000000001"

    function latestEntry(): var {
        return CommandJournal.entries(ownerSerial)[0];
    }

    name: "Commands"

    function cleanup(): void {
        refuse("");
        closeWindow();
    }

    function test_powerCutEndsDoneWithItsMessage() {
        loggedInOwner();
        const dashboard = findNamed("_dashboard");
        tryCompare(dashboard, "carOnState", false, 15000);
        const tooltip = findNamed("_mainTooltip");

        hold(findNamed("_powerCutButton"), 2200);
        tryVerify(() => tooltip.visible && tooltip.text.startsWith("خودرو برق را قطع کرد · "), 15000, tooltip.text);
        verify(/ · \d\d:\d\d$/.test(tooltip.text), tooltip.text);
        compare(tooltip.actionText, "");
        const entry = latestEntry();
        compare(entry.frame, "[oribel,14,3,1]}]");
        compare(entry.asked, "قطع برق خودرو");
        compare(entry.simNumber, "09120000001");
        compare(entry.state, "done");

        hold(findNamed("_powerConnectButton"), 2200);
        tryVerify(() => tooltip.text.startsWith("خودرو برق را وصل کرد · "), 15000, tooltip.text);
        compare(latestEntry().state, "done");
    }

    // The car never applies the door alarm: the entry ends as no answer once the editor gives
    // up, and "send again" sends the same frame as a new entry.
    function test_refusedSettingEndsWithoutAnswer() {
        refuse("23");
        loggedInOwner();
        mouseClick(buttonWithText(_testCase.window.footer, "تنظیمات"));
        _testCase.window.openSettingsEntry(1);
        const page = findNamed("_deviceSettings_Alarms");
        tryVerify(() => _testCase.window._deviceSettings.doorAlarmType !== undefined, 15000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        const row = findChild(page, "_doorRow");
        const wanted = page.doorAlarmType === 3 ? 2 : 3;
        const frame = "[oribel,23," + wanted + "]}]";
        const sent = receivedFrames().length;
        waitForRendering(row);
        mouseClick(findChild(row, "_editButton"));
        findChild(row, "_editCall").checked = (wanted & 1) !== 0;
        findChild(row, "_editSms").checked = (wanted & 2) !== 0;
        mouseClick(findChild(row, "_applyButton"));
        tryVerify(() => receivedNext(sent, frame), 10000, "the car received the frame");
        compare(latestEntry().state, "sent");

        const tooltip = findNamed("_mainTooltip");
        tryVerify(() => tooltip.visible && tooltip.text === "خودرو پاسخی نداد — دوباره ارسال شود؟", 40000, tooltip.text);
        compare(latestEntry().state, "noAnswer");
        compare(row.state, "idle");
        compare(page.doorAlarmType === wanted, false);

        const button = findChild(tooltip.contentItem, "_tooltipAction");
        verify(button.visible);
        mouseClick(button);
        tryVerify(() => receivedNext(sent + 1, frame), 10000, "the same frame again");
        compare(latestEntry().frame, frame);
        compare(latestEntry().state, "sent");
    }
}
