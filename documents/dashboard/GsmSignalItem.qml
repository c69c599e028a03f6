
SignalQualityItem {
    imagePrefix: "qrc:/graphics/gsmSQ_"
}
