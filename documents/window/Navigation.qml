import QtQuick
import globals

// The window's operation and its page stack: an operation pushes its page, a back step pops one
// and sets the operation of the page below, and logging out leaves only the login page.
QtObject {
    id: _navigation

    required property PageStack stack
    required property LoginPage loginPage
    required property MapView map
    required property DebriefingPlaybackDialog debriefingDialog
    required property SettingsMenu settingsMenu
    required property SettingsPages settingsPages
    required property MapFollowing following
    required property LiveData liveData
    required property TrackingServer server

    property int currentOperation: Globals.Login_Operation

    // A back step on the login page: the user is asked before the application quits.
    signal quitAsked

    // Pushes a page unless a back step is running or the page already is on top.
    function _pushOnce(page: Item): void {
        if (stack.lock || stack.currentItem === page)
            return;
        stack.push(page);
    }

    function _applyOperation(operation: int): void {
        switch (operation) {
        case Globals.LiveTracking_Operation:
            liveData.requestFirstLocation();
            _pushOnce(map);
            following.lockState = "car";
            break;
        case Globals.Debriefing_Operation:
            map.clearDebriefingPaths();
            _pushOnce(map);
            break;
        case Globals.GeoFence_Operation:
            following.lockState = "";
            server.geofencePolygonLoaded = false;
            _pushOnce(map);
            // Once the operation's change has reached the page stack's width too.
            Qt.callLater(_navigation._fitGeofence);
            break;
        case Globals.CarControl_Operation:
            liveData.requestFirstLocation();
            break;
        case Globals.Settings_Operation:
            settingsMenu.resetMenu();
            if (!stack.lock)
                stack.push(settingsMenu);
            break;
        }
    }

    // Shows the whole zone, unless a corner is being dragged: the map must not move under it.
    function _fitGeofence(): void {
        if (!map.geofenceItem.dragging)
            map.fitToCoords(map.geofenceItem.polygon.path);
    }

    // One step back through the header's back button.
    function back(): void {
        stack.lock = true;
        if (stack.depth === 3)
            currentOperation = Globals.CarControl_Operation;
        if (currentOperation === Globals.GeoFence_Operation)
            currentOperation = Globals.Settings_Operation;
        else if (currentOperation === Globals.ShareLocation_Operation)
            currentOperation = Globals.LiveTracking_Operation;
        stack.pop();
        stack.lock = false;
    }

    // One step back through the Esc or Back key; on the login page it asks before quitting.
    function escapeStep(): void {
        map.closeMapTypePopup();
        debriefingDialog.closePopups();
        const depth = stack.depth;
        if (depth === 1) {
            quitAsked();
            return;
        }
        stack.lock = true;
        if (depth === 2) {
            currentOperation = Globals.Login_Operation;
            loginPage.logOut();
        } else if (depth === 3) {
            currentOperation = Globals.CarControl_Operation;
        } else if (depth === 4 && currentOperation === Globals.ShareLocation_Operation) {
            currentOperation = Globals.LiveTracking_Operation;
        }
        if (currentOperation === Globals.GeoFence_Operation)
            currentOperation = Globals.Settings_Operation;
        stack.pop();
        stack.lock = false;
    }

    function logout(): void {
        stack.pop();
        currentOperation = Globals.Login_Operation;
        loginPage.logOut();
    }

    // After a change that needs a new login: back to the login page, logged out.
    function returnToLogin(): void {
        stack.pop(null);
        currentOperation = Globals.Login_Operation;
        loginPage.logOut();
    }

    // The settings menu's entries and the pages they open; the SIM entry opens none.
    function openSettingsEntry(index: int): void {
        const page = settingsPages.page(settingsMenu.entryName(index));
        if (page)
            stack.push(page);
    }

    onCurrentOperationChanged: _applyOperation(currentOperation)

    // The map is pushed at the width of the page before (the stack widens for the map only once
    // the window lays it out again), so the zone is fitted anew when the map takes its size, and
    // whenever the window changes it.
    readonly property Connections _geofenceView: Connections {
        target: _navigation.map
        enabled: _navigation.currentOperation === Globals.GeoFence_Operation

        function onWidthChanged(): void {
            _navigation._fitGeofence();
        }

        function onHeightChanged(): void {
            _navigation._fitGeofence();
        }
    }
}
