import QtQuick
import QtTest
import "qrc:/"
import "qrc:/qmlItems"
import "qrc:/SettingsRules.js" as SettingsRules

// The settings menu: the entries a login sees, the banner's names, and the remote-setting
// editor's states.
TestCase {
    id: _testCase

    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function init(): void {
        failOnWarning(/.?/);
    }

    function part(control: Item, objectName: string): var {
        const found = findChild(control, objectName);
        verify(found, objectName);
        return found;
    }

    function test_entries_data() {
        const plain = ["Menu_General", "Menu_Alarms", "Menu_Listening", "Menu_Users", "Menu_Appearance", "Menu_Support", "Menu_History"];
        return [
            { "tag": "owner", "options": {}, "names": plain },
            { "tag": "dual-SIM Android", "options": { "dualSim": true },
              "names": ["Menu_General", "Menu_Alarms", "Menu_Listening", "Menu_Users", "Menu_SimCards", "Menu_Appearance", "Menu_Support", "Menu_History"] },
            { "tag": "root", "options": { "rootLogin": true },
              "names": ["Menu_General", "Menu_Alarms", "Menu_Listening", "Menu_Users", "Menu_Appearance", "Menu_Map", "Menu_Server", "Menu_Data", "Menu_PersonalInfo", "Menu_Support", "Menu_History"] },
            { "tag": "root on dual-SIM Android", "options": { "rootLogin": true, "dualSim": true }, "count": 12 }
        ];
    }

    // The rules alone: the SIM entry's row loads the SIM chooser, which needs a phone.
    function test_entries(data) {
        const menu = createTemporaryObject(_menuComponent, _testCase);
        const names = SettingsRules.menuEntries(menu.fullMenu, data.options).map(entry => entry.name);
        if (data.names)
            compare(names, data.names);
        else
            compare(names.length, data.count);
    }

    function test_shownEntries_data() {
        return [
            { "tag": "owner", "rootLogin": false, "names": ["Menu_General", "Menu_Alarms", "Menu_Listening", "Menu_Users", "Menu_Appearance", "Menu_Support", "Menu_History"] },
            { "tag": "root", "rootLogin": true, "names": ["Menu_General", "Menu_Alarms", "Menu_Listening", "Menu_Users", "Menu_Appearance", "Menu_Map", "Menu_Server", "Menu_Data", "Menu_PersonalInfo", "Menu_Support", "Menu_History"] }
        ];
    }

    function test_shownEntries(data) {
        const menu = createTemporaryObject(_menuComponent, _testCase, { "rootLogin": data.rootLogin });
        menu.resetMenu();
        const model = part(menu, "_menu").model;
        const names = [];
        for (let i = 0; i < model.count; ++i)
            names.push(menu.entryName(i));
        compare(names, data.names);
        compare(menu.entryName(-1), "");
        compare(menu.entryName(model.count), "");
    }

    // A second rebuild starts from scratch rather than appending.
    function test_rebuildReplaces(): void {
        const menu = createTemporaryObject(_menuComponent, _testCase, { "rootLogin": true });
        menu.resetMenu();
        menu.rootLogin = false;
        menu.resetMenu();
        compare(part(menu, "_menu").model.count, 7);
    }

    function test_usersDetail_data() {
        return [
            { "tag": "no fingerprint", "fingerprint": false, "detail": "تغییر رمز عبور، نام کاربری" },
            { "tag": "fingerprint", "fingerprint": true, "detail": "تغییر رمز عبور، نام کاربری، فعال‌سازی اثرانگشت" }
        ];
    }

    function test_usersDetail(data) {
        const menu = createTemporaryObject(_menuComponent, _testCase, { "fingerprint": data.fingerprint });
        menu.resetMenu();
        compare(part(menu, "_menu").model.get(3).detail, data.detail);
        // The full menu itself keeps its own detail for the next rebuild.
        compare(menu.fullMenu[3].detail, "تغییر رمز عبور، نام کاربری");
    }

    function test_modelName_data() {
        return [
            { "tag": "lite", "version": "0.9.1", "name": "Kova_Lite" },
            { "tag": "plus", "version": "1.4", "name": "Kova_Plus" },
            { "tag": "lite 868", "version": "2.0", "name": "Kova_Lite868" },
            { "tag": "unknown digit", "version": "7.1", "name": "7" },
            { "tag": "letter", "version": "A1", "name": "A" },
            { "tag": "none yet", "version": "", "name": "" }
        ];
    }

    function test_modelName(data) {
        compare(SettingsRules.modelName(data.version), data.name);
    }

    function test_operatorName_data() {
        return [
            { "tag": "unidentified", "code": 0, "name": "نامعلوم" },
            { "tag": "irancell", "code": 1, "name": "ایرانسل" },
            { "tag": "mci", "code": 2, "name": "همراه اول" },
            { "tag": "rightel", "code": 3, "name": "رایتل" },
            { "tag": "five", "code": 5, "name": "نامشخص" },
            { "tag": "negative", "code": -1, "name": "نامشخص" },
            { "tag": "none", "code": undefined, "name": "نامشخص" },
            { "tag": "text", "code": "abc", "name": "نامشخص" },
            { "tag": "fraction", "code": 1.5, "name": "نامشخص" }
        ];
    }

    function test_operatorName(data) {
        compare(SettingsRules.operatorName(data.code), data.name);
    }

    function test_installationDate_data() {
        return [
            { "tag": "spring", "iso": "2023-05-01", "jalali": "1402-02-11" },
            { "tag": "new year", "iso": "2024-03-20", "jalali": "1403-01-01" },
            { "tag": "with a time", "iso": "2023-05-01T10:00:00", "jalali": "1402-02-11" },
            { "tag": "empty", "iso": "", "jalali": "" },
            { "tag": "missing", "iso": undefined, "jalali": "" },
            { "tag": "garbage", "iso": "yesterday", "jalali": "" }
        ];
    }

    function test_installationDate(data) {
        compare(SettingsRules.installationDate(data.iso), data.jalali);
    }

    function test_banner(): void {
        const device = { "imei": "861234", "ownerName": "علی", "ownerLastname": "رضایی", "vehicleModel": "پژو",
                         "vehicleColor": "سفید", "vehiclePlaque": "12ب345", "deviceFirstUse": "2023-05-01" };
        const menu = createTemporaryObject(_menuComponent, _testCase,
                                           { "device": device, "deviceCount": 1, "firmwareVersion": "1.2", "mobileOperator": 2 });
        compare(part(menu, "_ownerLabel").text, "علی رضایی");
        compare(part(menu, "_carLabel").text, "خودرو: پژو سفید پلاک: 12ب345");
        compare(part(menu, "_modelName").text, "Kova_Plus");
        compare(part(menu, "_operatorName").text, "همراه اول");
        compare(part(menu, "_installationDate").text, "1402-02-11");
        const button = part(menu, "_deviceButton");
        compare(button.text, "S/N:861234");
        verify(!button.enabled);
        menu.deviceCount = 2;
        verify(button.enabled);
    }

    // One row per step: the action, then the state and which parts show.
    function test_boxStates_data() {
        return [
            { "tag": "at rest", "steps": [], "state": "idle", "edit": true, "cancel": false, "apply": false, "content": false, "progress": false, "applied": 0 },
            { "tag": "edit", "steps": ["_editButton"], "state": "edit", "edit": false, "cancel": true, "apply": true, "content": true, "progress": false, "applied": 0 },
            { "tag": "cancel", "steps": ["_editButton", "_cancelButton"], "state": "idle", "edit": true, "cancel": false, "apply": false, "content": false, "progress": false, "applied": 0 },
            { "tag": "apply", "steps": ["_editButton", "_applyButton"], "state": "busy", "edit": false, "cancel": false, "apply": false, "content": false, "progress": true, "applied": 1 },
            { "tag": "confirmed", "steps": ["_editButton", "_applyButton", "idle"], "state": "idle", "edit": true, "cancel": false, "apply": false, "content": false, "progress": false, "applied": 1 },
            { "tag": "timed out", "steps": ["_editButton", "_applyButton", "wait"], "state": "idle", "edit": true, "cancel": false, "apply": false, "content": false, "progress": false, "applied": 1 }
        ];
    }

    function test_boxStates(data) {
        const box = createTemporaryObject(_boxComponent, _testCase);
        _applySpy.target = box;
        _applySpy.clear();
        for (const step of data.steps) {
            if (step === "idle") {
                box.seToIdleState();
            } else if (step === "wait") {
                tryCompare(box, "state", "idle");
            } else {
                waitForRendering(box);
                mouseClick(part(box, step));
            }
        }
        compare(box.state, data.state);
        compare(part(box, "_editButton").visible, data.edit);
        compare(part(box, "_cancelButton").visible, data.cancel);
        compare(part(box, "_applyButton").visible, data.apply);
        compare(part(box, "_content").enabled, data.content);
        compare(part(box, "_progress").visible, data.progress);
        compare(_applySpy.count, data.applied);
    }

    // Hiding the page puts a busy editor at rest.
    function test_boxHidden(): void {
        const box = createTemporaryObject(_boxComponent, _testCase);
        box.state = "busy";
        box.visible = false;
        compare(box.state, "idle");
    }

    name: "SettingsMenu"
    visible: true
    width: 400
    height: 600
    when: windowShown

    FontLoader {
        id: _font
    }

    SignalSpy {
        id: _applySpy

        signalName: "apply"
    }

    Component {
        id: _menuComponent

        SettingsMenu {
            width: 400
            height: 600
        }
    }

    Component {
        id: _boxComponent

        RemoteSettingBox {
            x: 10
            width: 380
            title: "رقم"
            timeout: 100
            contaneItem: Rectangle {
                implicitWidth: 40
                implicitHeight: 40
            }
        }
    }
}
