#pragma once

#include "DeviceSettings.h"
#include "DeviceStatus.h"

#include <QString>

namespace devserver {

// What a tracker does with one command frame "[oribel,NN,...]}]".
class FrameInterpreter
{
public:
    enum class Effect {
        Applied,  // the device obeyed: its settings (and maybe its status) may have changed
        Restart,  // code 0: the device restarts; its settings stay, its signals drop until it
                  // registers again
        Answer55, // code 55: the device answers by SMS with its position and state
        Ignored,  // malformed, unknown code or arguments out of range
    };

    struct Result
    {
        Effect effect = Effect::Ignored;
        QString reason;            // why a frame was ignored, for the log
        bool erasesMemory = false; // code 2: the device drops the history it logged
        QString ussdCode;          // code 16: the USSD code the device ran on its SIM
    };

    // Applies the frame to the device's records in place; an ignored frame leaves both as they
    // were.
    static Result apply(const QString &frame, DeviceSettings &settings, DeviceStatus &status);
};

} // namespace devserver
