import QtQuick
import QtPositioning
import QtTest
import smsManager
import commandJournal
import kova.tools
import "qrc:/"
import "qrc:/CommandCourse.js" as CommandCourse

// Stands in for the main window: the follower and the page reach these ids from their context.
Item {
    id: _mainWindow

    // The journal is the process's own file and outlives a run of the tests: each case keeps
    // to a car of its own.
    property var currentDevice: ({
            "simNumber": "09121112233",
            "imei": "9" + Date.now()
        })
    property int basePixelSize: 14

    width: 450
    height: 800

    FontLoader {
        id: _font
    }

    DeviceCommands {
        id: _deviceCommands
    }

    SmsManager {
        id: _smsManager
    }

    CarCommands {
        id: _carCommands

        property var sent: []

        smsManager: _smsManager
        device: _mainWindow.currentDevice
        onFrameSent: (simNumber, frame) => sent = sent.concat([[simNumber, frame]])
    }

    MainTooltip {
        id: _mainTooltip
    }

    Component {
        id: _pageComponent

        CommandHistoryPage {
            anchors.fill: parent
            device: _mainWindow.currentDevice
        }
    }

    TestCase {
        id: _testCase

        property int cars: 0

        readonly property var zone: [QtPositioning.coordinate(36.3, 59.6), QtPositioning.coordinate(36.31, 59.6),
            QtPositioning.coordinate(36.31, 59.61), QtPositioning.coordinate(36.3, 59.61), QtPositioning.coordinate(36.305, 59.6),
            QtPositioning.coordinate(36.31, 59.605), QtPositioning.coordinate(36.305, 59.61), QtPositioning.coordinate(36.3, 59.605)]

        function newCar(): string {
            cars += 1;
            _mainWindow.currentDevice = {
                "simNumber": "0912111223" + cars,
                "imei": "9" + Date.now() + cars
            };
            return _mainWindow.currentDevice.imei;
        }

        function stateOf(id: int): string {
            return CommandJournal.entry(id).state;
        }

        name: "CommandFollower"
        when: windowShown

        function init(): void {
            _mainTooltip.close();
            _mainTooltip.text = "";
            _carCommands.sent = [];
        }

        function test_course_data(): var {
            return [
                { "tag": "power cut", "frame": _deviceCommands.createDigitalOutputPacket(3, true), "asked": "قطع برق خودرو",
                  "effect": { "sw3": "1" } },
                { "tag": "power restore", "frame": _deviceCommands.createDigitalOutputPacket(3, false), "asked": "وصل برق خودرو",
                  "effect": { "sw3": "0" } },
                { "tag": "alarms on", "frame": "[oribel,30,1]}]", "asked": "فعال کردن هشدارهای دزدگیری", "effect": { "multiAlarm": "1" } },
                { "tag": "send rate", "frame": "[oribel,13,120,50]}]", "asked": "نرخ ارسال داده",
                  "effect": { "sendRate": "120", "logResolation": "50" } },
                { "tag": "listen numbers, blanks", "frame": _deviceCommands.createListenUsersPacket("09121234567", " ", " "),
                  "asked": "شماره‌های مجاز به شنود", "effect": { "listen_Users1": "09121234567", "listen_Users2": " ", "listen_Users3": " " } },
                { "tag": "offline request", "frame": "[oribel,55]}]", "asked": "درخواست وضعیت خودرو با پیامک", "effect": null, "sms": true },
                { "tag": "restart: nothing to see", "frame": "[oribel,0]}]", "asked": "راه‌اندازی دوباره دستگاه", "effect": null },
                { "tag": "not a frame", "frame": "[oribel,14,3,1]}", "asked": "دستور ناشناخته", "effect": null }
            ];
        }

        function test_course(data: var): void {
            const course = CommandCourse.course(data.frame);
            compare(course.asked, data.asked);
            compare(course.effect, data.effect);
            compare(course.answeredBySms, data.sms === true);
        }

        // A report shows a command done only when it carries every value the frame set.
        function test_shows_data(): var {
            const zoneFrame = _deviceCommands.createGeofencePacket(zone, 2);
            const zoneEffect = CommandCourse.course(zoneFrame).effect;
            const moved = zone.slice(1).concat([QtPositioning.coordinate(36.2, 59.6)]);
            return [
                { "tag": "power cut reported", "frame": "[oribel,14,3,1]}]", "settings": { "sw3": 1 }, "shows": true },
                { "tag": "power still on", "frame": "[oribel,14,3,1]}]", "settings": { "sw3": 0 }, "shows": false },
                { "tag": "no such key yet", "frame": "[oribel,14,3,1]}]", "settings": {}, "shows": false },
                { "tag": "alarm flag as a boolean", "frame": "[oribel,30,1]}]", "settings": { "multiAlarm": true }, "shows": true },
                { "tag": "one of two values", "frame": "[oribel,13,120,50]}]", "settings": { "sendRate": 120, "logResolation": 30 }, "shows": false },
                { "tag": "both values", "frame": "[oribel,13,120,50]}]", "settings": { "sendRate": 120, "logResolation": 50 }, "shows": true },
                { "tag": "a blank listen slot reads empty", "frame": "[oribel,15,0912, , ]}]",
                  "settings": { "listen_Users1": "0912", "listen_Users2": "", "listen_Users3": "" }, "shows": true },
                { "tag": "the zone reported", "effect": zoneEffect, "settings": { "geoFenceInOut": 2, "geoFencePolygon": zone }, "shows": true },
                { "tag": "another zone, same mode", "effect": zoneEffect, "settings": { "geoFenceInOut": 2, "geoFencePolygon": moved }, "shows": false }
            ];
        }

        function test_shows(data: var): void {
            const effect = data.effect ?? CommandCourse.course(data.frame).effect;
            compare(CommandCourse.shows(effect, data.settings), data.shows);
        }

        // Each course from "sent" (or "failed" at once) to its end, and the message it leaves.
        function test_courses_data(): var {
            return [
                { "tag": "power cut, then the report", "frame": "[oribel,14,3,1]}]", "ticket": 1,
                  "reports": [{ "sw3": 0 }, { "sw3": 1 }], "state": "done", "message": "خودرو برق را قطع کرد · " },
                { "tag": "a setting never reported", "frame": "[oribel,23,3]}]", "ticket": 2,
                  "reports": [{ "doorAlarmType": 1 }], "expire": true, "state": "noAnswer", "message": "خودرو پاسخی نداد — دوباره ارسال شود؟" },
                { "tag": "a report of another car", "frame": "[oribel,30,1]}]", "ticket": 3, "otherCar": true,
                  "reports": [{ "multiAlarm": 1 }], "expire": true, "state": "noAnswer", "message": "خودرو پاسخی نداد — دوباره ارسال شود؟" },
                { "tag": "not handed to any SMS service", "frame": "[oribel,14,3,0]}]", "ticket": 0,
                  "reports": [{ "sw3": 0 }], "expire": true, "state": "failed", "message": "" },
                { "tag": "the modem could not send it", "frame": "[oribel,14,3,0]}]", "ticket": 4, "modemFails": true,
                  "reports": [{ "sw3": 0 }], "expire": true, "state": "failed", "message": "" },
                { "tag": "the offline request answered", "frame": "[oribel,55]}]", "ticket": 5, "smsAnswer": true,
                  "reports": [], "expire": true, "state": "answered", "message": "خودرو به درخواست پیامکی پاسخ داد · " },
                { "tag": "restart: stays sent", "frame": "[oribel,0]}]", "ticket": 6,
                  "reports": [{ "sw3": 1 }], "expire": true, "state": "sent", "message": "" }
            ];
        }

        function test_courses(data: var): void {
            const serial = newCar();
            const follower = _carCommands.follower;
            const id = follower.begin(serial, _mainWindow.currentDevice.simNumber, 1, data.frame, data.ticket);
            verify(id > 0);
            compare(CommandJournal.entry(id).simSlot, 1);
            if (data.modemFails)
                follower.takeSendFailure(data.ticket);
            for (const report of data.reports)
                follower.takeSettings(data.otherCar ? serial + "0" : serial, report);
            if (data.smsAnswer)
                follower.takeSmsAnswer(serial);
            if (data.expire)
                follower.expire(Date.now() + follower.settingTimeout + 1);
            compare(stateOf(id), data.state);
            if (data.message === "")
                compare(_mainTooltip.text, "");
            else
                verify(_mainTooltip.text.startsWith(data.message), _mainTooltip.text);
            // Where it ended is where it stays.
            follower.takeSettings(serial, { "sw3": 1, "multiAlarm": 1, "doorAlarmType": 3 });
            follower.expire(Date.now() + follower.settingTimeout + 1);
            compare(stateOf(id), data.state);
        }

        // "Send again" sends the same frame to the same SIM, as a new entry of its own.
        function test_sendAgain(): void {
            const serial = newCar();
            const follower = _carCommands.follower;
            const id = follower.begin(serial, "09127776655", 0, "[oribel,22,120,3]}]", 9);
            follower.expire(Date.now() + follower.settingTimeout + 1);
            compare(_mainTooltip.actionText, "ارسال دوباره");
            const button = findChild(_mainTooltip.contentItem, "_tooltipAction");
            verify(button && button.visible);
            // The line stays inside the window, the button in it.
            verify(_mainTooltip.width <= _mainWindow.width);
            mouseClick(button);
            compare(_carCommands.sent, [["09127776655", "[oribel,22,120,3]}]"]]);
            const entries = CommandJournal.entries(serial);
            compare(entries.length, 2);
            compare(entries[0].frame, "[oribel,22,120,3]}]");
            verify(entries[0].id > id);
            tryCompare(_mainTooltip, "visible", false);
            // The next plain message has no button.
            _mainTooltip.offer("x", 1000, "y", () => {});
            _mainTooltip.show("دستور ارسال شد", 1000);
            compare(_mainTooltip.actionText, "");
        }

        function test_historyPage_data(): var {
            return [
                { "tag": "owner", "rootLogin": false },
                { "tag": "root", "rootLogin": true }
            ];
        }

        // Newest first, each with its time, what was asked and its state; the serial for root.
        function test_historyPage(data: var): void {
            const serial = newCar();
            const page = createTemporaryObject(_pageComponent, _mainWindow, { "rootLogin": data.rootLogin });
            const list = findChild(page, "_commandEntries");
            compare(list.count, 0);
            const follower = _carCommands.follower;
            const first = follower.begin(serial, "0912", 0, "[oribel,14,3,1]}]", 11);
            follower.begin(serial, "0912", 0, "[oribel,30,0]}]", 0);
            follower.takeSettings(serial, { "sw3": 1 });
            tryCompare(list, "count", 2);
            waitForRendering(page);
            const rows = list.contentItem.children.filter(row => findChild(row, "_asked"))
                         .sort((a, b) => a.y - b.y);
            compare(rows.map(row => findChild(row, "_asked").text), ["خاموش کردن هشدارهای دزدگیری", "قطع برق خودرو"]);
            compare(rows.map(row => findChild(row, "_state").text), ["ارسال نشد", "انجام شد"]);
            const when = findChild(rows[1], "_when").text;
            verify(/^14\d\d\/\d\d\/\d\d  \d\d:\d\d:\d\d/.test(when), when);
            compare(findChild(rows[1], "_serial").visible, data.rootLogin);
            compare(findChild(rows[1], "_serial").text, "S/N: " + serial);
            verify(CommandJournal.entry(first).state === "done");
        }
    }
}
