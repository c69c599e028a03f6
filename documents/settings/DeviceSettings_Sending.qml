import QtQuick
import QtQuick.Layouts
import "qmlItems" as QmlItems
import "SettingsRules.js" as SettingsRules

// How often and how finely the device reports. Both values travel in one frame, so editing one
// sends the other as last reported.
FormPage {
    id: _sendingPage

    bottomRoom: 60
    columnSpacing: 25

    property string sendRate: ""
    property string logResolation: ""

    // Sends both values, or says why not and leaves the editor open for correction.
    function applySending(field: Item, rate: string, distance: string): void {
        const frame = SettingsRules.sendingFrame(rate, distance);
        if (frame === "") {
            field.state = "edit";
            _mainTooltip.show(SettingsRules.sendingRefusal(field === _rateField, rate, distance), 3000);
            return;
        }
        _carCommands.send(frame, field);
    }

        QmlItems.BusyTextField {
            id: _distanceField

            objectName: "_distanceField"
            text: _sendingPage.logResolation
            placeholderText: "فاصله نقاط نسبت به هم به متر (30~10000)"
            infoTitle: "فاصله نقاط نسبت به هم"
            infoText: "کمترین فاصله ممکن بین دو نقطه را تعیین کنید.\nفاصله بیشتر منجر به استفاده کمتر از اینترنت و هزینه کمتر می‌شود\nدر عوض کیفیت مسیر در 'گزارش مسیر' کمتر می‌شود"
            inputMethodHints: Qt.ImhDigitsOnly
            validator: IntValidator {
                bottom: SettingsRules.distanceRange.low
                top: SettingsRules.distanceRange.high
            }
            Layout.fillWidth: true
            onEditRequest: _sendingPage.applySending(_distanceField, _rateField.text, editText)
        }

        QmlItems.BusyTextField {
            id: _rateField

            objectName: "_rateField"
            text: _sendingPage.sendRate
            placeholderText: "نرخ ارسال به ثانیه (60~3600)"
            infoTitle: "نرخ ارسال به ثانیه"
            infoText: "نرخ ارسال نقاط به سرور را تعیین کنید.\nنرخ بیشتر منجر به استفاده کمتر از اینترنت و هزینه کمتر می‌شود\nدر عوض برای آنلاین شدن دستگاه زمان بیشتری نیاز است\nالبته می‌توان با تماس به دستگاه در هر زمان دستگاه را به مد آنلاین برد."
            inputMethodHints: Qt.ImhDigitsOnly
            validator: IntValidator {
                bottom: SettingsRules.sendRateRange.low
                top: SettingsRules.sendRateRange.high
            }
            Layout.fillWidth: true
            onEditRequest: _sendingPage.applySending(_rateField, editText, _distanceField.text)
        }
}
