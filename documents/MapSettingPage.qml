import QtQuick
import QtQuick.Controls
import QtCore

// Map settings; the chosen map style survives restarts.
Page {
    id: _mapSettingPage

    property int activeStyleIndex: 0

    Settings {
        property alias _activeStyleIndex: _mapSettingPage.activeStyleIndex
    }
}
