
SignalQualityItem {
    imagePrefix: "qrc:/graphics/gpsSQ_"
}
