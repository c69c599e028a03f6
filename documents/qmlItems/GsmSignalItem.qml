import QtQuick

SignalQualityItem {
    imagePrefix: "qrc:/graphics/gsmSQ_"
}
