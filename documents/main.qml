pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Shapes
import globals
import kova.tools
import "qmlItems"

ApplicationWindow {
    id: _mainWindow

    property int currentOperation: Globals.Login_Operation
    property var appConfigs: ({})

    property list<real> basePixelSizeFactors: [0.8, 1, 1.2, 1.4]
    property int basePixelSizeFactorIndex: 1
    readonly property real basePixelSizeFactor: basePixelSizeFactors[basePixelSizeFactorIndex] ?? basePixelSizeFactors[1]
    readonly property int basePixelSize: Math.round(_baseText.font.pixelSize * basePixelSizeFactor)

    // Tells the server which build is starting; its reply may carry a notice and the
    // application configuration.
    function announceAppOpen(): void {
        const request = _appOpenPostComponent.createObject(_mainWindow);
        request.requestObject = {
            "command": "appOpen",
            "appName": "KovaApp",
            "os": Qt.platform.os,
            "appVersion": _tools.version(),
            "version_major": _tools.version_major(),
            "version_minor": _tools.version_minor(),
            "version_patch": _tools.version_patch()
        };
        request.post();
    }

    function _onAppOpenReply(response: var): void {
        if (!response.isValid)
            return;
        if (response.message) {
            _serverMessage.title = response.title ?? "";
            _serverMessage.qmlCode = response.message;
            _serverMessage.open();
        }
        if (response.appConfigs !== undefined)
            _mainWindow.appConfigs = response.appConfigs;
    }

    visible: true
    minimumWidth: 350
    minimumHeight: 550
    title: "سامانه رهگیری خودرو"
    font.family: _font.name
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    Component.onCompleted: {
        width += 1;
        height += 1;
        showMaximized();
        announceAppOpen();
    }

    FontLoader {
        id: _font

        source: "qrc:/fonts/NotoSansArabic-Light.ttf"
    }

    FontLoader {
        id: _font_lato

        source: "qrc:/fonts/Lato-Light.ttf"
    }

    // Only gives basePixelSize the platform's default text size.
    Label {
        id: _baseText

        visible: false
    }

    background: Shape {
        ShapePath {
            strokeWidth: -1
            strokeColor: "transparent"
            fillGradient: RadialGradient {
                centerX: _mainWindow.width / 2
                centerY: _mainWindow.height / 2
                focalX: centerX
                focalY: centerY
                centerRadius: Math.max(_mainWindow.width, _mainWindow.height)
                focalRadius: 0

                GradientStop {
                    position: 0.0
                    color: "#39538a"
                }
                GradientStop {
                    position: 0.5
                    color: "#071136"
                }
            }

            PathRectangle {
                width: _mainWindow.width
                height: _mainWindow.height
            }
        }
    }

    Tools {
        id: _tools
    }

    Server {
        id: _server

        property bool lastLocatinBusy: false
        property bool geofencePolygonLoaded: false
    }

    ServerPing {
        id: _serverPing

        url: _server.serverHostUrl
    }

    Component {
        id: _appOpenPostComponent

        HttpPost {
            url: _server.appInterfaceUrl
            timeout: 10000
            onResponseReady: response => _mainWindow._onAppOpenReply(response)
            onTextResponseReady: (response, status) => console.log("appOpen reply:", status, String(response))
            onError: console.log("appOpen failed:", errorText)
        }
    }

    ServerMessage {
        id: _serverMessage

        anchors.centerIn: parent
        width: Math.min(_mainWindow.width * 0.7, 250)
        height: Math.min(_mainWindow.height * 0.7, 400)
    }

    ToolTip {
        id: _mainTooltip

        x: (_mainWindow.width - width) / 2
        y: _mainWindow.height * (_mainWindow.currentOperation === Globals.CarControl_Operation ? 0.1 : 0.8)
        timeout: 3000
        background: Rectangle {
            color: "#dd071136"
            radius: 2
        }
    }

    ToolTip {
        id: _offlineWarning

        x: (_mainWindow.width - width) / 2
        y: 50
        visible: !_serverPing.isOnline
        text: "اتصال اینترنت قطع می باشد!"
        background: Rectangle {
            color: "red"
            radius: 2
        }
    }
}
