import QtQuick.Controls

// General device settings.
Page {
}
