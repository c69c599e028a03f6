import QtQuick.Controls

// Support contacts.
Page {
}
