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
// Buttons whose command cannot be undone, and the offline strip.
const danger = "#c62828";
// The dark theme's page colour, under most text.
const pageBackground = "#1f305e";
// Second lines (a menu entry's detail, a resting field's title): white at 60 % over the page.
const secondaryText = "#a5acbf";
// Links on the dark panels, such as the server's notices: the accent's hue, lightened.
const linkOnDark = "#a4b8e8";
// The settings banner's picture where the serial number lies on it (its lightest part), and
// the number's colour, the same whether or not it opens the device choice.
const bannerBackground = "#24365c";
const bannerText = "#c5cee0";
// The share page's panel with the link, under white text: a darker teal.
const linkPanel = "#00796b";

// Where a command to the car ended: seen done, answered by SMS, waiting, not sent, unanswered;
// each is read on the page.
const commandDone = onGreen;
const commandAnswered = "#4fc3f7";
const commandSent = "#8fa8dc";
const commandFailed = "#ff8a80";
const commandNoAnswer = "#ffb300";

// Each text colour the style names, with the background it is read on and whether it is large
// text (at least 18 pt, or 14 pt bold): a pair must reach 4.5:1, or 3:1 for large text.
const textPairs = [
    { "name": "white text on the accent (login help, highlighted buttons)", "text": "#ffffff", "background": accent, "large": false },
    { "name": "white text on the header", "text": "#ffffff", "background": primary, "large": false },
    { "name": "white text on the page", "text": "#ffffff", "background": pageBackground, "large": false },
    { "name": "white text on the danger colour", "text": "#ffffff", "background": danger, "large": false },
    { "name": "login page's small print on the window's dark end", "text": progressAccent, "background": gradientDark, "large": false },
    { "name": "white text on the window's light end", "text": "#ffffff", "background": gradientLight, "large": false },
    { "name": "second lines on the page", "text": secondaryText, "background": pageBackground, "large": false },
    { "name": "links on the dark panels", "text": linkOnDark, "background": pageBackground, "large": false },
    { "name": "serial number on the settings banner", "text": bannerText, "background": bannerBackground, "large": false },
    { "name": "white text on the share link's panel", "text": "#ffffff", "background": linkPanel, "large": false },
    { "name": "a command seen done", "text": commandDone, "background": pageBackground, "large": false },
    { "name": "a command answered by SMS", "text": commandAnswered, "background": pageBackground, "large": false },
    { "name": "a command sent, waiting", "text": commandSent, "background": pageBackground, "large": false },
    { "name": "a command not sent", "text": commandFailed, "background": pageBackground, "large": false },
    { "name": "a command not answered", "text": commandNoAnswer, "background": pageBackground, "large": false },
    { "name": "the clock and the on state on the window's light end", "text": onGreen, "background": gradientLight, "large": false }
];
