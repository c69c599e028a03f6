import QtQuick
import QtQuick.Layouts
import "qmlItems" as QmlItems
import "SettingsRules.js" as SettingsRules

// The server the device reports to, as host:port and path; a new address goes to the device by
// SMS and shows once the device reports it.
FormPage {
    id: _serverPage

    property string serverUrl: ""

    // Sends the edited address, or says why it cannot be sent and leaves it open for correction.
    function applyAddress(text: string): void {
        const frame = SettingsRules.serverFrame(_tools.urlSplit(text));
        if (frame === "") {
            _serverField.state = "edit";
            _mainTooltip.show("فرمت آدرس درست نیست\nدوباره تلاش کنید", 3000);
            return;
        }
        _carCommands.send(frame, _serverField);
    }

    Component.onCompleted: _serverField.editText = serverUrl

    QmlItems.BusyTextField {
        id: _serverField

        objectName: "_serverField"
        text: _serverPage.serverUrl
        placeholderText: "تغییر آدرس سرور"
        infoTitle: "اخطار!"
        infoText: "با تغییر آدرس سرور امکان از دسترس خارج شدن دستگاه وجود دارد\nآیا اطمینان دارید؟"
        inputMethodHints: Qt.ImhUrlCharactersOnly
        Layout.fillWidth: true
        onEditRequest: _serverPage.applyAddress(editText)
    }
}
