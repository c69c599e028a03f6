import QtQuick.Controls.Material

// The window's pages, one over the other.
StackView {
    id: _pageStack

    // While a back step runs, operation changes do not push pages.
    property bool lock: false
}
