import QtQuick
import QtQuick.Controls

// Support contacts.
Page {
}
