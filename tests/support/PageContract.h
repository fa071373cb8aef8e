#pragma once

#include "core/RunTime.h"
#include "tests/support/TestSupport.h"

class SettingsPage;
namespace Binding {
struct Row;
}

// The contract every settings page keeps, checked over the page's own binding
// rows: after a load the page is unchanged; editing any compared control makes
// it changed (a control compared only once every page is loaded counts only
// then) and putting the value back makes it unchanged again; a save with no
// edit changes no byte; a save writes each moved row's key in its form and
// leaves the page unchanged; a reload shows
// the saved values; a save the file refuses is reported ("Error occured:..."),
// leaves the files as they were and keeps the page changed.
//
// The page must be built over `rt` with its profiles open. Failures are
// reported through QTest (check QTest::currentTestFailed() after the call).
namespace TestSupport {

void checkPageContract(SettingsPage& page, RunTime& rt);

// Moves a row's control to another value than it holds (where it can hold
// more than one).
void nudge(const Binding::Row& row);

// A copy of the demo game with both profiles open, as LoadAll leaves them.
struct OpenDemoGame {
    TempGame game;
    RunTime rt;
    OpenDemoGame();
};

} // namespace TestSupport
