import QtQuick
import "qmlItems"

// The account's second user name, confirmed by the server; shows the login reply's name.
BusyTextField {
    id: _aliasField

    readonly property string takenText: "این نام کاربری وجود دارد. لطفا نام کاربری دیگری برگزینید."

    signal accepted(string name)

    // The login reply's name, after a login or a change made on another page.
    function showCurrent(): void {
        text = _mainWindow.loginResponse.aliasUsername ?? "";
    }

    function _onReply(name: string, reply: var): void {
        if (reply.isValid && (reply.errorCode ?? 0) === 0) {
            _mainWindow.loginResponse.aliasUsername = name;
            text = name;
            state = "idle";
            accepted(name);
            return;
        }
        state = "idle";
        _mainTooltip.show(reply.errorCode === 1 ? takenText : reply.errorText, 4000);
    }

    inputMethodHints: Qt.ImhNoAutoUppercase
    onVisibleChanged: {
        if (visible)
            showCurrent();
    }
    Component.onCompleted: showCurrent()
    onEditRequest: {
        const name = editText;
        _poster.post({
            "command": "setAliasUsername",
            "aliasUsername": name,
            "username": _mainWindow.loginResponse.username ?? ""
        }, reply => _aliasField._onReply(name, reply), errorText => {
            _aliasField.state = "idle";
            _mainTooltip.show(errorText, 3000);
        });
    }

    RequestPoster {
        id: _poster
    }
}
