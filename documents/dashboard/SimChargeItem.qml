import QtQuick

// The SIM credit: red and blinking when low; 0xFFFF means the device could not read it.
BlinkImage {
    id: _simCharge

    property int value: 0

    state: value === 0xFFFF ? "UnKnown" : value < 500 ? "LC" : value < 10000 ? "MC" : "HC"
    states: [
        State {
            name: "UnKnown"

            PropertyChanges {
                _simCharge.source: "qrc:/graphics/simCharge-yellow.svg"
            }
        },
        State {
            name: "LC"

            PropertyChanges {
                _simCharge.source: "qrc:/graphics/simCharge-red.svg"
                _simCharge.blink: true
            }
        },
        State {
            name: "MC"

            PropertyChanges {
                _simCharge.source: "qrc:/graphics/simCharge-yellow.svg"
            }
        },
        State {
            name: "HC"

            PropertyChanges {
                _simCharge.source: "qrc:/graphics/simCharge-green.svg"
            }
        }
    ]
}
