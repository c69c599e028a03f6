import QtQuick
import QtTest
import globals
import "qrc:/"

// Trip playback against the development server, used as a person would: yesterday's trips are
// loaded, one is chosen and played at 60 times real speed, and the figures popup is read.
SystemTestCase {
    id: _testCase

    name: "Trips"

    function initTestCase(): void {
        loggedInOwner();
    }

    function cleanupTestCase(): void {
        closeWindow();
    }

    function test_1_yesterdaysTripPlaysBack(): void {
        mouseClick(buttonWithText(_testCase.window.footer, "گزارش مسیر"));
        compare(_testCase.window.currentOperation, Globals.Debriefing_Operation);
        const bar = findNamed("_debriefingDialog");
        tryVerify(() => bar.visible);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);

        const now = new Date();
        mouseClick(findNamed("_previousDay"));
        compare(bar.startTime.getTime(), new Date(now.getFullYear(), now.getMonth(), now.getDate() - 1).getTime());
        mouseClick(findNamed("_loadButton"));
        tryCompare(bar, "state", "run", 30000);
        const trips = findNamed("_tripChooser");
        verify(trips.count > 1, "yesterday has trips");
        compare(findNamed("_map").debriefingPaths.length, _testCase.window.pathsAdvanceInfo.length);

        choose(trips, 1);
        choose(findNamed("_speedChooser"), 3);
        verify(bar.isRunning);
        compare(findNamed("_playbackTimer").interval, 16);
        const start = _testCase.window.currentLocation.dateTime.getTime();
        verify(bar.pointAt(start / 1000) !== undefined, "the car stands on a point of the chosen trip");
        tryVerify(() => _testCase.window.currentLocation.dateTime.getTime() > start, 10000);
    }

    // Runs after the playback above. The popup shows the chosen trip's figures, and the whole day's with all trips chosen.
    function test_2_figuresPopup(): void {
        const bar = findNamed("_debriefingDialog");
        const figures = _testCase.window.pathsAdvanceInfo;
        const popup = findNamed("_path_AdvanceInfo_popup");
        mouseClick(findNamed("_btnDebriefing_AdvanceInfo"));
        tryVerify(() => popup.opened, 3000);
        compare(findNamed("_figure_distance").text, figures[bar.currentPathIndex - 1].distance / 1000 + " km");
        popup.close();
        tryVerify(() => !popup.visible, 3000);

        choose(findNamed("_tripChooser"), 0);
        mouseClick(findNamed("_btnDebriefing_AdvanceInfo"));
        tryVerify(() => popup.opened, 3000);
        const day = Array.from(figures).reduce((sum, trip) => sum + trip.distance, 0);
        compare(findNamed("_figure_distance").text, day / 1000 + " km");
        verify(day > 0);
        popup.close();
    }
}
