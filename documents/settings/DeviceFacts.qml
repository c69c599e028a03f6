pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import "SettingsRules.js" as SettingsRules

// The device's facts, each label beside its value; the values give way first in a narrow
// window. The serial row shows only where nothing else names the device.
GridLayout {
    id: _deviceFacts

    property string imei
    property bool serialShown: false
    property string firmwareVersion
    property var mobileOperator
    property string deviceFirstUse
    property real textSize: basePixelSize * 0.9

    component Fact: MyLabel {
        font.pixelSize: _deviceFacts.textSize
    }

    columns: 2
    columnSpacing: 5
    rowSpacing: 0

    Fact {
        text: "سریال دستگاه: "
        visible: _deviceFacts.serialShown
    }

    Fact {
        objectName: "_serial"
        text: _deviceFacts.imei
        visible: _deviceFacts.serialShown
        horizontalAlignment: Text.AlignLeft
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    Fact {
        text: "مدل دستگاه: "
    }

    Fact {
        objectName: "_modelName"
        text: SettingsRules.modelName(_deviceFacts.firmwareVersion)
        horizontalAlignment: Text.AlignLeft
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    Fact {
        text: "ورژن برنامه: "
    }

    Fact {
        objectName: "_firmwareVersion"
        text: _deviceFacts.firmwareVersion
        horizontalAlignment: Text.AlignLeft
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    Fact {
        text: "اپراتور سیم‌کارت: "
    }

    Fact {
        objectName: "_operatorName"
        text: SettingsRules.operatorName(_deviceFacts.mobileOperator)
        horizontalAlignment: Text.AlignLeft
        elide: Text.ElideRight
        Layout.fillWidth: true
    }

    Fact {
        text: "تاریخ نصب: "
    }

    Fact {
        objectName: "_installationDate"
        text: SettingsRules.installationDate(_deviceFacts.deviceFirstUse)
        horizontalAlignment: Text.AlignLeft
        elide: Text.ElideRight
        Layout.fillWidth: true
    }
}
