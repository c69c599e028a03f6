import QtQuick
import "../Style.js" as Style

// Fires only after being held for the whole delay; a ring grows round the button meanwhile.
MyRoundButton {
    id: _roundDelayButton

    property int delay: 3000
    property real percent: 0

    signal actived
    signal reject

    function _endHold(): void {
        // The timer is the judge: still running means the hold ended early.
        const early = _delayTimer.running;
        _delayTimer.stop();
        if (early)
            reject();
        _progress.stop();
        percent = 0;
    }

    onPressed: {
        percent = 0;
        _delayTimer.restart();
        _progress.restart();
    }
    onReleased: _endHold()
    onCanceled: _endHold()
    onPercentChanged: _ring.requestPaint()

    NumberAnimation {
        id: _progress

        target: _roundDelayButton
        property: "percent"
        from: 0
        to: 1
        duration: _roundDelayButton.delay
    }

    Timer {
        id: _delayTimer

        interval: _roundDelayButton.delay
        onTriggered: {
            _progress.complete();
            _roundDelayButton.actived();
        }
    }

    Canvas {
        id: _ring

        objectName: "_ring"
        anchors.fill: parent
        onPaint: {
            const context = getContext("2d");
            context.clearRect(0, 0, width, height);
            if (_roundDelayButton.percent <= 0)
                return;
            const start = -4 * Math.PI / 3;
            context.strokeStyle = Style.onGreen;
            context.lineWidth = 3;
            context.beginPath();
            context.arc(width / 2, height / 2, width / 2 - 3, start, start + 5 * Math.PI / 3 * _roundDelayButton.percent, false);
            context.stroke();
        }
    }
}
