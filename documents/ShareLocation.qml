import QtQuick
import QtQuick.Controls

// Sharing the car's live location through a link.
Page {
    signal shareTokenRequested

    function getShareToken(): void {
        shareTokenRequested();
    }
}
