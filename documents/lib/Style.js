.pragma library

// The interface's shared colours, named once.

// The thin progress bars of waiting controls, and the login page's small print.
const progressAccent = "#7E99D2";
// The controls style's accent and primary colours, for the places that set them again.
const accent = "#4E69A2";
const primary = "#354d82";
// Confirmed "on": a switched-on car, a confirmed switch, the hold ring, the fix clock.
const onGreen = "#00ff00";
// The window's background gradient, also the bevel of the round buttons.
const gradientLight = "#39538a";
const gradientDark = "#071136";
// Separator lines.
const separator = Qt.rgba(0.8, 0.8, 1, 0.8);
// Buttons whose command cannot be undone.
const danger = "#c62828";
// Where a command to the car ended: seen done, answered by SMS, waiting, not sent, unanswered.
const commandDone = onGreen;
const commandAnswered = "#4fc3f7";
const commandSent = progressAccent;
const commandFailed = "#ef5350";
const commandNoAnswer = "#ffb300";
