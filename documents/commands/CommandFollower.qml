import QtQuick
import commandJournal
import "JsTools.js" as JsTools
import "CommandCourse.js" as CommandCourse

// Follows every frame sent to a car to where it ends, in the journal: done when the car's next
// settings report shows it, answered when the car's SMS answer arrives, no answer when the time
// an editor waits passes first; and tells the owner at once in the window's message line.
QtObject {
    id: _commandFollower

    // The car whose settings reports come in.
    required property var device
    // Its settings reports; without them (a page tested alone) nothing is seen done.
    required property var server
    // As long as a settings editor waits for the car, and the offline button for its answer.
    property int settingTimeout: 30000
    property int smsAnswerTimeout: 20000

    readonly property string noAnswerText: "خودرو پاسخی نداد — دوباره ارسال شود؟"
    readonly property string resendText: "ارسال دوباره"

    // [{ id, serial, effect, answeredBySms, doneText, deadline }]
    property var _waiting: []

    // The owner asked to send the frame of this entry again.
    signal resendAsked(int id)

    // Keeps a frame that was just handed to the SMS service (ticket > 0) or not (0); returns
    // its entry's id (0 when the journal kept nothing).
    function begin(serial: string, simNumber: string, simSlot: int, frame: string, ticket: int): int {
        const course = CommandCourse.course(frame);
        const id = CommandJournal.add(serial, simNumber, simSlot, course.asked, frame, ticket > 0 ? "sent" : "failed");
        if (id > 0 && ticket > 0 && (course.effect || course.answeredBySms)) {
            _waiting = _waiting.concat([{
                                            "id": id,
                                            "ticket": ticket,
                                            "serial": serial,
                                            "effect": course.effect,
                                            "answeredBySms": course.answeredBySms,
                                            "doneText": course.doneText,
                                            "deadline": Date.now() + (course.answeredBySms ? smsAnswerTimeout : settingTimeout)
                                        }]);
        }
        return id;
    }

    function takeSettings(serial: string, settings: var): void {
        for (const waiting of _waiting.filter(w => w.serial === serial && CommandCourse.shows(w.effect, settings)))
            finish(waiting, "done");
    }

    // The car's SMS answer answers the oldest request still waiting for one.
    function takeSmsAnswer(serial: string): void {
        const waiting = _waiting.find(w => w.serial === serial && w.answeredBySms);
        if (waiting)
            finish(waiting, "answered");
    }

    function takeSendFailure(ticket: int): void {
        const waiting = _waiting.find(w => w.ticket === ticket);
        if (waiting)
            finish(waiting, "failed");
    }

    function expire(now: real): void {
        for (const waiting of _waiting.filter(w => w.deadline <= now))
            finish(waiting, "noAnswer");
    }

    function finish(waiting: var, state: string): void {
        _waiting = _waiting.filter(w => w.id !== waiting.id);
        if (!CommandJournal.setState(waiting.id, state))
            return;
        if (state === "noAnswer")
            _mainTooltip.offer(noAnswerText, 10000, resendText, () => _commandFollower.resendAsked(waiting.id));
        else if (state !== "failed")
            _mainTooltip.show(waiting.doneText + " · " + JsTools.formatNumber(new Date().getHours(), 2) + ":"
                              + JsTools.formatNumber(new Date().getMinutes(), 2), 5000);
    }

    readonly property Connections _reports: Connections {
        target: _commandFollower.server
        ignoreUnknownSignals: true

        function onSettingsReply(settings: var): void {
            if (settings)
                _commandFollower.takeSettings(String(_commandFollower.device.imei ?? ""), settings);
        }
    }

    readonly property Timer _clock: Timer {
        interval: 1000
        repeat: true
        running: _commandFollower._waiting.length > 0
        onTriggered: _commandFollower.expire(Date.now())
    }
}
