import QtQuick
import QtQuick.Controls.Material
import "qmlItems" as QmlItems
import "SettingsRules.js" as SettingsRules

// The server the device reports to, as host:port and path; a new address goes to the device by
// SMS and shows once the device reports it.
Page {
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
        _smsManager.sendSms(_mainWindow.currentDevice.simNumber ?? "", frame);
    }

    Component.onCompleted: _serverField.editText = serverUrl

    QmlItems.MyScrollArea {
        id: _scrollArea

        anchors.fill: parent
        contentHeight: _serverField.height + 40

        QmlItems.BusyTextField {
            id: _serverField

            objectName: "_serverField"
            x: 20
            y: 20
            width: _scrollArea.width - 40
            text: _serverPage.serverUrl
            placeholderText: "تغییر آدرس سرور"
            infoTitle: "اخطار!"
            infoText: "با تغییر آدرس سرور امکان از دسترس خارج شدن دستگاه وجود دارد\nآیا اطمینان دارید؟"
            inputMethodHints: Qt.ImhUrlCharactersOnly
            onEditRequest: _serverPage.applyAddress(editText)
        }
    }
}
