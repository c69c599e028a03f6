#pragma once

#include <QStringView>

// The shape every device command frame has: "[oribel,CODE" and its comma-separated fields,
// closed by "]}]". The device reads no escaping, so a field that holds a bracket, or a second
// frame in the same text, would be obeyed as a command of its own.
namespace DeviceFrame {

// True for exactly one frame with a decimal code, nothing before or after it, no line breaks
// and no bracket inside a field.
bool isWellFormed(QStringView text);

// True for a phone number as the device expects it (digits, optionally after one "+"), or for
// an empty slot: nothing, or the placeholders "x" and " " the screens use.
bool isPhoneField(QStringView field);

} // namespace DeviceFrame
