import QtQuick

SignalQualityItem {
    imagePrefix: "qrc:/graphics/gpsSQ_"
}
